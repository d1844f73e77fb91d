# Sourced by test.sh and run.sh: chooses the Windows build(s) this host can run.
# The product is the i686 build, run under 32-bit Wine where this host runs
# 32-bit programs natively; elsewhere the x86_64 build of the same sources runs
# under 64-bit Wine. MDAC_BUILD chooses on purpose: i686, x86_64, or (for the
# tests) both.
#   check_build_choice ONE|MANY  fails at once on a value MDAC_BUILD cannot have
#   choose_builds ONE|MANY   sets $builds (a list) and $build_why (one line)
#   build_dir BUILD          the build's folder: build/ for i686, build-x86_64/
build_dir() { if [ "$1" = i686 ]; then echo build; else echo "build-$1"; fi; }

# Refuses a value of MDAC_BUILD before anything is installed or built for it.
check_build_choice() {
  case "${MDAC_BUILD:-}" in
    "" | i686 | x86_64) return 0 ;;
    both) [ "$1" = MANY ] && return 0 ;;
  esac
  choose_builds "$1"
}

choose_builds() {
  local host native32=0 allowed="i686 or x86_64"
  [ "$1" = MANY ] && allowed="i686, x86_64 or both"
  builds=()
  host=$(bash tools/host-runs-i386.sh) && native32=1
  case "${MDAC_BUILD:-}" in
    "")
      if [ $native32 = 1 ]; then
        builds=(i686)
        build_why="$host"
      else
        builds=(x86_64)
        build_why="$host, so the same sources run as 64-bit programs"
      fi
      return 0
      ;;
    i686 | x86_64) builds=("$MDAC_BUILD") ;;
    both) [ "$1" = MANY ] && builds=(i686 x86_64) ;;
  esac
  if [ ${#builds[@]} = 0 ]; then
    echo "MDAC_BUILD must be $allowed, not '$MDAC_BUILD'" >&2
    return 2
  fi
  build_why="chosen by MDAC_BUILD; $host"
  if [ $native32 = 0 ] && [[ " ${builds[*]} " = *" i686 "* ]]; then
    echo "cannot run the i686 build here: $host" >&2
    return 2
  fi
}
