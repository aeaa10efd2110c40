# Sourced by the Wine helpers: one private, quiet prefix inside the build tree.
LANAN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# A suite that CTest gave one of scripts/wine-tests' sessions (its resource
# "display", id:N) runs on that session's display and in its prefix.
if [[ "${CTEST_RESOURCE_GROUP_0_DISPLAY:-}" =~ ^id:([0-9]+), ]]; then
    lanan_session="${BASH_REMATCH[1]}"
    lanan_display="LANAN_DISPLAY_$lanan_session" lanan_prefix="LANAN_PREFIX_$lanan_session"
    export DISPLAY="${!lanan_display:-${DISPLAY:-}}" WINEPREFIX="${!lanan_prefix:-${WINEPREFIX:-}}"
fi
export WINEPREFIX="${WINEPREFIX:-$LANAN_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEARCH=win64
