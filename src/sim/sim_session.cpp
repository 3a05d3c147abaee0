#include <cstdio>

#include "sim/hd44780.h"
#include "sim/parallel_port.h"
#include "sim/sim_session.h"

static uint8_t controlAtStart = 0;
static uint8_t ecrAtStart = 0;

void startSimulation(const SimOptions& options)
{
    resetSimClock(options.busNs);
    setTickStart(options.tickStartMs);
    setKeySource(options.keyAtSet, options.keyAtMs);
    resetHd44780(options.lcdKind, options.deadAfter);
    resetParallelPort(options.portKind, options.portBase, options.missBusy);
    controlAtStart = controlReading();
    ecrAtStart = ecrReading();
    startSlowPath(options.realtime, options.show);
}

void finishSimulation() { stopSlowPath(); }

std::string displayBox()
{
    const std::string edge = "+" + std::string(DISPLAY_COLUMNS, '-') + "+\n";
    std::string box = edge;
    for (int row = 0; row < DISPLAY_ROWS; ++row) {
        box += '|';
        for (int column = 0; column < DISPLAY_COLUMNS; ++column) {
            const uint8_t ch = hd44780Shown(row, column);
            // Codes outside printable ASCII are the module's own glyphs; show them as '?'.
            box += ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '?';
        }
        box += "|\n";
    }
    return box + edge;
}

std::string portsLine()
{
    char line[80];
    int n = std::snprintf(line, sizeof line, "ports: control 0x%02X -> 0x%02X", controlAtStart, controlReading());
    if (portHasEcr()) {
        n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ", ecr 0x%02X -> 0x%02X", ecrAtStart,
                           ecrReading());
    }
    return std::string(line) + "\n";
}
