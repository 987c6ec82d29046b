#!/usr/bin/env bash
# Runs a command with an X display: the one already set, or else a virtual
# 1024x768x24 one of its own, kept up between clients (-noreset) so a client
# that connects right after another left is never refused. Sound goes to
# SDL's dummy driver unless the caller chose a driver.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER-dummy}"
[ -n "${DISPLAY:-}" ] && exec "$@"
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
