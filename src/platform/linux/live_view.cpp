#include "platform/live_view.h"

#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

uint64_t wallClockNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000ULL + static_cast<uint64_t>(now.tv_nsec);
}

void sleepUntilWallNs(uint64_t wallNs)
{
    const timespec until{static_cast<time_t>(wallNs / 1'000'000'000ULL), static_cast<long>(wallNs % 1'000'000'000ULL)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

int openLiveView(int minRows)
{
    winsize size{};
    if (isatty(STDERR_FILENO) == 0 || ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row < minRows) {
        return 0;
    }
    return size.ws_row;
}

void writeLiveView(const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

void closeLiveView() {}
