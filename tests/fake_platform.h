// Test doubles for everything the program gets from the hardware and the system: a port that
// records every access and answers reads from a script, a fake tick and a fake key source.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// One port access; consecutive reads of one port that returned one value are kept as one entry.
struct PortAccess {
    char op;  // 'R' or 'W'
    uint16_t port;
    uint8_t value;
    uint32_t times = 1;
    bool operator==(const PortAccess&) const = default;
};
std::ostream& operator<<(std::ostream& out, const PortAccess& access);

inline PortAccess R(uint16_t port, uint8_t value, uint32_t times = 1) { return {'R', port, value, times}; }
inline PortAccess W(uint16_t port, uint8_t value) { return {'W', port, value, 1}; }

// A message on standard output, and how many port accesses had happened before it.
struct Message {
    size_t afterAccesses;
    std::string text;
};

namespace fake {

extern std::vector<PortAccess> accesses;
extern std::vector<Message> messages;
extern std::string errors;  // everything written to standard error

// Reads of a port take its scripted values in order, then its fallback (0xFF, an empty bus,
// unless set). A reader function, when set, answers instead of the script.
void script(uint16_t port, uint8_t value, uint32_t times = 1);
void fallback(uint16_t port, uint8_t value);
extern std::function<uint8_t(uint16_t port)> reader;
extern std::function<void(uint16_t port, uint8_t value)> onWrite;

// Each tickMs() takes the next value; the last one repeats.
extern std::deque<uint32_t> ticks;
// keyWaiting() answers false this many times, then true.
extern uint32_t keyChecksWithoutKey;
extern uint32_t keyChecks;
extern bool keyWatchActive;
extern uint32_t keyChecksUnwatched;  // keyWaiting() calls outside beginKeyWatch/endKeyWatch

extern bool grantPortAccess;
extern int portAccessRequests;
extern uint16_t portAccessAsked[3];  // the addresses of the last request
extern void (*stopRestore)();  // what installStopHandlers was given
extern size_t stopInstalledAfter;  // port accesses made before it was installed

// Back to a fresh machine: empty logs, empty scripts, access granted, no key ever.
void reset();

std::string transcript();  // all messages, joined
uint32_t writesOf(uint16_t port, uint8_t value);

}  // namespace fake
