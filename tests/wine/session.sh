# Sourced by scripts that run Windows programs: re-runs the calling script inside a
# private Wine session (with-wine.sh) unless it runs in one already.
#   require_wine_session "$0" "$@"
require_wine_session() {
  [ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] && return 0
  exec "$(dirname "${BASH_SOURCE[0]}")/with-wine.sh" -- "$@"
}
