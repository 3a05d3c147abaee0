// Runs inside the test guest next to lptlcd. It marks where each scenario begins and ends in
// QEMU's I/O trace, shows what the control register holds after the program, and starts the
// program as an ordinary user.
//
//   lptlcd-guest peek PORT             one byte read at PORT (hex), printed as "0x%02x"
//   lptlcd-guest as-user UID PROGRAM [ARG...]
//                                      drops every root privilege, then runs PROGRAM
#include <grp.h>
#include <sys/io.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static int usage()
{
    std::fputs("usage: lptlcd-guest peek PORT | lptlcd-guest as-user UID PROGRAM [ARG...]\n", stderr);
    return 2;
}

// The status register (base + 1) is a good marker: lptlcd never touches it, so a read there
// in the trace can only be ours.
static int peek(const char* portText)
{
    char* end = nullptr;
    const unsigned long port = std::strtoul(portText, &end, 16);
    if (*end != '\0' || port > 0xFFFF) {
        return usage();
    }
    if (ioperm(port, 1, 1) != 0) {
        std::fprintf(stderr, "lptlcd-guest: ioperm 0x%lx: %s\n", port, std::strerror(errno));
        return 1;
    }
    std::printf("0x%02x\n", static_cast<unsigned>(inb(static_cast<unsigned short>(port))));
    return 0;
}

// Changing every user and group id away from root also clears the permitted and effective
// capabilities, CAP_SYS_RAWIO among them; the program then meets ioperm as any user would.
static int runAsUser(const char* uidText, char** program)
{
    char* end = nullptr;
    const unsigned long id = std::strtoul(uidText, &end, 10);
    if (*end != '\0' || id == 0) {
        return usage();
    }
    if (setgroups(0, nullptr) != 0 || setresgid(id, id, id) != 0 || setresuid(id, id, id) != 0) {
        std::fprintf(stderr, "lptlcd-guest: cannot become uid %lu: %s\n", id, std::strerror(errno));
        return 1;
    }
    execv(program[0], program);
    std::fprintf(stderr, "lptlcd-guest: cannot run %s: %s\n", program[0], std::strerror(errno));
    return 127;
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "peek") == 0) {
        return peek(argv[2]);
    }
    if (argc >= 4 && std::strcmp(argv[1], "as-user") == 0) {
        return runAsUser(argv[2], argv + 3);
    }
    return usage();
}
