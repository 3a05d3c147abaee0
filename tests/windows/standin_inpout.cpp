// A stand-in for inpoutx64.dll, backed by the simulated bench, so that lptlcd.exe's driver DLL
// path (loading, the three exports, every access through Inp32/Out32) runs without a driver.
// Set up from the environment when the DLL is loaded:
//   LPTLCD_STANDIN_BENCH   bench options as lptlcd-sim takes them, separated by spaces
//                          (default: a healthy ECP port at 378). With --key-at=MS, a key press is
//                          typed into the console once the simulated clock reaches MS.
//   LPTLCD_STANDIN_DRIVER  "closed": IsInpOutDriverOpen answers false, as when the DLL's kernel
//                          driver could not be installed.
// When the process ends it writes the final display and the port registers to standard error,
// as lptlcd-sim does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "port/port.h"
#include "sim/sim_clock.h"
#include "sim/sim_options.h"
#include "sim/sim_session.h"

static bool benchReady = false;
static bool driverOpen = true;
static bool keyPending = false;
static uint64_t keyAtNs = 0;

static void typeKeyIntoConsole()
{
    const HANDLE console = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    INPUT_RECORD press[2]{};
    for (int i = 0; i < 2; ++i) {
        press[i].EventType = KEY_EVENT;
        press[i].Event.KeyEvent.bKeyDown = i == 0 ? TRUE : FALSE;
        press[i].Event.KeyEvent.wRepeatCount = 1;
        press[i].Event.KeyEvent.wVirtualKeyCode = 'K';
        press[i].Event.KeyEvent.uChar.UnicodeChar = L'k';
    }
    DWORD written = 0;
    if (console == INVALID_HANDLE_VALUE || !WriteConsoleInputW(console, press, 2, &written)) {
        std::fputs("inpoutx64 stand-in: no console to type the key press into\n", stderr);
    }
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
}

static void checkKeyTime()
{
    if (keyPending && simNowNs >= keyAtNs) {
        keyPending = false;
        typeKeyIntoConsole();
    }
}

static void setUpBench()
{
    const char* driver = std::getenv("LPTLCD_STANDIN_DRIVER");
    driverOpen = driver == nullptr || std::strcmp(driver, "closed") != 0;

    std::vector<std::string> words{"inpoutx64"};
    if (const char* bench = std::getenv("LPTLCD_STANDIN_BENCH")) {
        std::istringstream split(bench);
        for (std::string word; split >> word;) {
            words.push_back(word);
        }
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    SimOptions options;
    int firstArgument = 0;
    std::string whyNot;
    if (!parseSimOptions(static_cast<int>(words.size()), argv.data(), options, firstArgument, whyNot)) {
        std::fprintf(stderr, "inpoutx64 stand-in: LPTLCD_STANDIN_BENCH: %s\n", whyNot.c_str());
        driverOpen = false;
        return;
    }
    // The key is typed here, not answered by the bench's key source: the program's own key test
    // has to find it in the console queue.
    keyPending = options.keyAtSet;
    keyAtNs = options.keyAtMs * 1'000'000ULL;
    options.keyAtSet = false;
    startSimulation(options);
    // The bench checks every access against the program's three addresses.
    setPortAddresses(options.portBase);
    benchReady = true;
}

extern "C" __declspec(dllexport) int __stdcall IsInpOutDriverOpen() { return driverOpen ? 1 : 0; }

extern "C" __declspec(dllexport) short __stdcall Inp32(short port)
{
    const uint8_t value = readPort(static_cast<uint16_t>(port));
    checkKeyTime();
    return value;
}

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short value)
{
    writePort(static_cast<uint16_t>(port), static_cast<uint8_t>(value));
    checkKeyTime();
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        setUpBench();
    } else if (reason == DLL_PROCESS_DETACH && benchReady && driverOpen) {
        finishSimulation();
        const std::string report = displayBox() + portsLine();
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    }
    return TRUE;
}
