#pragma once

class QWidget;

// For bench/startup only: when KORVANE_STARTUP_PROBE names a file, the moment of
// the window's first paint (CLOCK_REALTIME, ns) and the peak memory so far are
// written there; with KORVANE_STARTUP_PROBE_QUIT_MS the program ends that many
// milliseconds later, after a second peak-memory line.
void installStartupProbe(QWidget* window);
