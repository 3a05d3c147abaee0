// The program's messages on standard output, character for character, as the tests expect them.
#pragma once

#include <string>

namespace expected {

const std::string USAGE = "\nPlease specify a Parallel Port to test.\n\nDefault for port 1 is usually 378\n";
const std::string ECP_FOUND = "\nECP Port Detected\n";
const std::string STANDARD_FOUND = "\nStandard Port detected (not ECP)\n";
const std::string BPP_OK = "Port successfully supports BPP mode.\n";
const std::string BPP_ONLY_IN_SPP = "Port supports BPP mode in SPP mode.\nWarning, this is not a standard ECP port.\n";
const std::string NO_BPP = "This port does not appear to support BPP mode.\n";
const std::string NO_LCD =
    "\nNo LCD detected on the port.  Make sure LCD is connected and proper\npower is supplied to the LCD.\n";
const std::string BANNER =
    "\nBPP Port LCD Stress Test\n"
    "You should now see the numbers 0 through 9 on the LCD this:\n"
    "01234567890123456789\n\n"
    "The numbers on the LCD should remain solid and never change.\n"
    "If they flicker or change, then the BF flag cannot be read reliably.\n"
    "\n"
    "wait about 45 seconds (or press any key to end the test)\n";
const std::string SUCCESS =
    "Test appears to be successful.  Hit any key to end,\nor continue to watch the LCD for flickering.\n";
const std::string LCD_STOPPED =
    "\nThe LCD stopped answering (busy flag stuck high); check its power and wiring, then test again.\n";
const std::string SLOW_SUCCESS =
    "Test took longer to complete than expected.\nThe parallel port may not be reliably detecting the Busy Flag.\n";
const std::string SLOW_NO_SUCCESS =
    "Test was taking longer to complete than expected.\nThe parallel port may not be reliably detecting the Busy Flag.\n";
const std::string ENDED_EARLY = "Test was ended early.  You may want to let the test run longer.\n";
const std::string NEVER_DETECTED =
    "Busy Flag was never detected.  Parallel port probably doesn't support BPP mode.\n";

inline std::string report(const std::string& count, const std::string& seconds)
{
    return "\nnumber of times Busy Flag caught high: " + count + "\n\nThe test ran for " + seconds + " seconds.\n";
}

}  // namespace expected
