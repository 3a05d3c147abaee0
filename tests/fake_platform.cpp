#include "fake_platform.h"

#include <iomanip>
#include <map>
#include <utility>

#include "platform/platform.h"
#include "port/port.h"

std::ostream& operator<<(std::ostream& out, const PortAccess& access)
{
    return out << access.op << " 0x" << std::hex << access.port << " 0x" << unsigned{access.value} << std::dec
               << " x" << access.times;
}

namespace fake {

std::vector<PortAccess> accesses;
std::vector<Message> messages;
std::string errors;
std::function<uint8_t(uint16_t)> reader;
std::function<void(uint16_t, uint8_t)> onWrite;
std::deque<uint32_t> ticks;
uint32_t keyChecksWithoutKey = 0;
uint32_t keyChecks = 0;
bool keyWatchActive = false;
uint32_t keyChecksUnwatched = 0;
bool grantPortAccess = true;
int portAccessRequests = 0;
uint16_t portAccessAsked[3] = {};
void (*stopRestore)() = nullptr;
size_t stopInstalledAfter = 0;

static std::map<uint16_t, std::deque<std::pair<uint8_t, uint32_t>>> scripts;
static std::map<uint16_t, uint8_t> fallbacks;

void script(uint16_t port, uint8_t value, uint32_t times)
{
    if (times > 0) {
        scripts[port].emplace_back(value, times);
    }
}

void fallback(uint16_t port, uint8_t value) { fallbacks[port] = value; }

void reset()
{
    accesses.clear();
    messages.clear();
    errors.clear();
    reader = nullptr;
    onWrite = nullptr;
    ticks = {0};
    keyChecksWithoutKey = UINT32_MAX;
    keyChecks = 0;
    keyWatchActive = false;
    keyChecksUnwatched = 0;
    grantPortAccess = true;
    portAccessRequests = 0;
    stopRestore = nullptr;
    stopInstalledAfter = 0;
    scripts.clear();
    fallbacks.clear();
}

std::string transcript()
{
    std::string all;
    for (const Message& message : messages) {
        all += message.text;
    }
    return all;
}

uint32_t writesOf(uint16_t port, uint8_t value)
{
    uint32_t n = 0;
    for (const PortAccess& access : accesses) {
        n += access.op == 'W' && access.port == port && access.value == value ? 1 : 0;
    }
    return n;
}

static uint8_t scriptedRead(uint16_t port)
{
    auto& runs = scripts[port];
    if (runs.empty()) {
        const auto found = fallbacks.find(port);
        return found == fallbacks.end() ? 0xFF : found->second;
    }
    const uint8_t value = runs.front().first;
    if (--runs.front().second == 0) {
        runs.pop_front();
    }
    return value;
}

}  // namespace fake

uint8_t readPort(uint16_t port)
{
    const uint8_t value = fake::reader ? fake::reader(port) : fake::scriptedRead(port);
    auto& log = fake::accesses;
    if (!log.empty() && log.back().op == 'R' && log.back().port == port && log.back().value == value) {
        ++log.back().times;
    } else {
        log.push_back(R(port, value));
    }
    return value;
}

void writePort(uint16_t port, uint8_t value)
{
    fake::accesses.push_back(W(port, value));
    if (fake::onWrite) {
        fake::onWrite(port, value);
    }
}

bool openPortAccess(uint16_t base, uint16_t control, uint16_t ecr, std::string& whyNot)
{
    ++fake::portAccessRequests;
    fake::portAccessAsked[0] = base;
    fake::portAccessAsked[1] = control;
    fake::portAccessAsked[2] = ecr;
    if (!fake::grantPortAccess) {
        whyNot = "no access (test)";
    }
    return fake::grantPortAccess;
}

uint32_t tickMs()
{
    const uint32_t now = fake::ticks.front();
    if (fake::ticks.size() > 1) {
        fake::ticks.pop_front();
    }
    return now;
}

void writeOut(const char* text) { fake::messages.push_back({fake::accesses.size(), text}); }

void writeErr(const char* text) { fake::errors += text; }

void installStopHandlers(void (*restorePort)())
{
    fake::stopRestore = restorePort;
    fake::stopInstalledAfter = fake::accesses.size();
}

void beginKeyWatch() { fake::keyWatchActive = true; }

void endKeyWatch() { fake::keyWatchActive = false; }

bool keyWaiting()
{
    fake::keyChecksUnwatched += fake::keyWatchActive ? 0 : 1;
    return fake::keyChecks++ >= fake::keyChecksWithoutKey;
}

bool consoleKeyWaiting() { return keyWaiting(); }
