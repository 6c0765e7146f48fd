#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Trawlix() PRO: the desktop program with the given
# arguments, or with --cli first the command-line program trawlix-cli.
#   ./run.sh [--data-dir DIR] [--nosplash] [FILE.txexport]
#   ./run.sh --cli COMMAND [ARGS...]
set -euo pipefail
# The arguments may name files relative to the caller's folder: stay in it.
here="$(cd "$(dirname "$0")" && pwd)"
"$here/scripts/setup.sh" "$here/build" normal >&2
if [[ "${1:-}" == "--cli" ]]; then
  shift
  exec "$here/build/src/cli/trawlix-cli" "$@"
fi
exec "$here/build/src/app/trawlix" "$@"
