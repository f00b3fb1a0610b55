#pragma once

class QWidget;

/// SIGTERM, SIGINT and SIGHUP (a log-out, a shutdown, Ctrl+C in a terminal) close the window
/// as the menu's "zakończ" does, so that the settings are saved and the journal ends cleanly.
void closeOnTerminationSignals(QWidget &window);
