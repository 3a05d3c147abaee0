#include <gtest/gtest.h>

#include "platform/linux/ioports.h"

namespace {

const char* const WITH_PARPORT =
    "0000-0cf7 : PCI Bus 0000:00\n"
    "  0000-001f : dma1\n"
    "  0378-037a : parport0\n"
    "  03c0-03df : vga+\n"
    "0cf8-0cff : PCI conf1\n"
    "0d00-ffff : PCI Bus 0000:00\n"
    "  0778-077a : parport0\n";

const char* const WITHOUT_PARPORT =
    "0000-0cf7 : PCI Bus 0000:00\n"
    "  0000-001f : dma1\n"
    "  03c0-03df : vga+\n"
    "0d00-ffff : PCI Bus 0000:00\n";

TEST(KernelPortClaims, NamesTheInnermostClaimOnceAndIgnoresBusRanges)
{
    const uint16_t port378[] = {0x378, 0x37A, 0x77A};
    EXPECT_EQ(findPortClaims(WITH_PARPORT, port378, 3), "0378-037a : parport0; 0778-077a : parport0");
    EXPECT_EQ(findPortClaims(WITHOUT_PARPORT, port378, 3), "");
    const uint16_t port278[] = {0x278, 0x27A, 0x67A};
    EXPECT_EQ(findPortClaims(WITH_PARPORT, port278, 3), "");
    // Base 0 wraps its control and ECR into the DMA controller's range.
    const uint16_t port0[] = {0x0, 0x2, 0x402};
    EXPECT_EQ(findPortClaims(WITH_PARPORT, port0, 3), "0000-001f : dma1");
}

}  // namespace
