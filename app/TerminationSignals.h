#pragma once

class TForm1;

/// SIGTERM, SIGINT and SIGHUP (a log-out, a shutdown, Ctrl+C in a terminal) close the window
/// as the menu's "zakończ" does, so that the settings are saved and the journal ends cleanly,
/// but without a question: nobody may be there to answer it.
void closeOnTerminationSignals(TForm1 &window);
