#!/usr/bin/env bash
# Runs a command with an X display: the one already set, or else a virtual
# 1024x768x24 one of its own. -noreset keeps the server up between clients,
# so a client that connects right after another one left is never refused.
# Sound goes to SDL's dummy driver unless the caller chose a driver.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER-dummy}"
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$@"
