// Port access on Windows, decided once before the first access. A user process may execute
// in/out only where a kernel driver has granted it, so the order is:
//   1. inpoutx64.dll, the port I/O driver DLL hobbyists install for this, when it is present and
//      its driver is open: every access goes through its Inp32/Out32;
//   2. otherwise the in/out instructions themselves, once a read of each of the three addresses
//      has been seen to work. Without a grant the processor faults with a privileged-instruction
//      exception; the reads run under a vectored exception handler that steps over the faulting
//      instruction, so the run ends with one line instead of a crash, and nothing is written.
#include <windows.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/windows/port_driver.h"

// A trial read whose one faulting instruction sits at a known address, so the exception handler
// can tell it from any other fault and knows it is one byte long (EC: in al, dx).
asm(R"(
    .text
    .globl lptlcdTrialIn
    .def lptlcdTrialIn; .scl 2; .type 32; .endef
lptlcdTrialIn:
    movl %ecx, %edx
    xorl %eax, %eax
    .globl lptlcdTrialInInstruction
lptlcdTrialInInstruction:
    inb %dx, %al
    ret
)");
extern "C" uint8_t lptlcdTrialIn(uint16_t port);
extern "C" const unsigned char lptlcdTrialInInstruction[];

static volatile DWORD trialFault = 0;

static LONG CALLBACK onTrialFault(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.ExceptionAddress != static_cast<const void*>(lptlcdTrialInInstruction)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    trialFault = record.ExceptionCode;
    info->ContextRecord->Rip += 1;
    return EXCEPTION_CONTINUE_EXECUTION;
}

// 0 when the read went through, else the exception code it raised.
static DWORD trialRead(uint16_t port)
{
    trialFault = 0;
    lptlcdTrialIn(port);
    return trialFault;
}

template <typename Function> static Function exported(HMODULE library, const char* name)
{
    // Through a generic function pointer: GetProcAddress's own type matches none of the exports.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

enum class DriverDll { Absent, Unusable, Open };

// Looked for beside lptlcd.exe and in the system folders only, never in the current folder or
// on PATH, so a stray copy cannot be planted on the program.
static DriverDll openDriverDll(std::string& problem)
{
    const HMODULE library = LoadLibraryExW(L"inpoutx64.dll", nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (library == nullptr) {
        return DriverDll::Absent;
    }
    const auto inp32 = exported<Inp32Function>(library, "Inp32");
    const auto out32 = exported<Out32Function>(library, "Out32");
    const auto isOpen = exported<IsInpOutDriverOpenFunction>(library, "IsInpOutDriverOpen");
    if (inp32 == nullptr || out32 == nullptr || isOpen == nullptr) {
        problem = "inpoutx64.dll was found but lacks Inp32, Out32 or IsInpOutDriverOpen: replace it with a "
                  "complete copy";
        FreeLibrary(library);
        return DriverDll::Unusable;
    }
    if (isOpen() == 0) {
        problem = "inpoutx64.dll was found but its driver is not open: run lptlcd once as administrator so "
                  "the DLL can install it";
        FreeLibrary(library);
        return DriverDll::Unusable;
    }
    driverInp32 = inp32;
    driverOut32 = out32;
    return DriverDll::Open;
}

bool openPortAccess(uint16_t base, uint16_t control, uint16_t ecr, std::string& whyNot)
{
    std::string dllProblem;
    if (openDriverDll(dllProblem) == DriverDll::Open) {
        writeErr("lptlcd: note: port access through inpoutx64.dll; each access is a call into its driver, "
                 "so busy counts run lower than with direct in/out\n");
        return true;
    }

    // The control register first, the register the program reads first anyway; reads of these
    // three registers change nothing on the port.
    const uint16_t addresses[] = {control, base, ecr};
    const PVOID handler = AddVectoredExceptionHandler(1, onTrialFault);
    DWORD fault = 0;
    uint16_t refused = 0;
    for (const uint16_t address : addresses) {
        fault = trialRead(address);
        if (fault != 0) {
            refused = address;
            break;
        }
    }
    RemoveVectoredExceptionHandler(handler);

    if (fault == 0) {
        if (!dllProblem.empty()) {
            writeErr(("lptlcd: note: " + dllProblem + "; using direct in/out\n").c_str());
        }
        return true;
    }
    const char* remedy = dllProblem.empty() ? "install a port I/O driver: put inpoutx64.dll beside lptlcd.exe "
                                              "and run lptlcd once as administrator"
                                            : dllProblem.c_str();
    char line[400];
    std::snprintf(line, sizeof line, "lptlcd: no permission for port I/O at 0x%x (the in instruction raised exception 0x%08lx%s); %s",
                  refused, static_cast<unsigned long>(fault),
                  fault == static_cast<DWORD>(EXCEPTION_PRIV_INSTRUCTION) ? ", privileged instruction" : "", remedy);
    whyNot = line;
    return false;
}
