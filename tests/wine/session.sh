# Sourced by the Wine test scripts; needs bash.

# Re-runs the calling script inside a private Wine session (tests/wine/with-wine.sh)
# unless it already runs in one, of the given screen size when a size is given:
#   require_wine_session "<WxH or empty>" "$0" "$@"
require_wine_session() {
  local size="$1" script="$2"
  shift 2
  if [ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    [ -z "$size" ] && return 0
    local current
    current=$(xdpyinfo -display "$DISPLAY" 2>/dev/null | awk '/dimensions:/ {print $2}')
    [ "$current" = "$size" ] && return 0
  fi
  exec "$(dirname "${BASH_SOURCE[0]}")/with-wine.sh" --screen "${size:-640x480}" -- "$script" "$@"
}

# The Windows name of a Linux path, through Wine's Z: drive.
winpath() { echo "Z:$1" | tr / '\\'; }
