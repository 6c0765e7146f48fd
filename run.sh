#!/usr/bin/env bash
# Sets up what is missing, builds, and runs Trawlix() PRO with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build normal >&2
exec build/src/cli/trawlix-cli "$@"
