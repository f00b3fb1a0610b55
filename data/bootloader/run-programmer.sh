#!/bin/sh
# Runs the firmware programmer with its arguments exactly as given, then leaves an
# interactive shell so that the terminal window and the programmer's output stay.
"$@"
status=$?
echo
echo "Programator zakończył pracę (kod wyjścia $status)."
exec "${SHELL:-/bin/sh}" -i
