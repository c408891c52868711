# Sourced by the scripts that build: a build folder is configured from its preset once, then built
# quietly; the output is kept in a log beside the folder and shown only when something fails.
#
#   lumisk_build PRESET DIR JOBS LOG [TARGET...]
#                 configures DIR from PRESET when it has no cache yet, then builds the TARGETs (everything
#                 when none) with JOBS jobs. The logs are DIR.LOG-configure.log and DIR.LOG-build.log.
#                 Returns non-zero, after the log's end, when either step fails.
lumisk_build() {
  local preset=$1 dir=$2 jobs=$3 log=$4
  shift 4
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    mkdir -p "$(dirname "$dir")"
    cmake --preset "$preset" -B "$dir" >"$dir.$log-configure.log" 2>&1 || { cat "$dir.$log-configure.log"; return 1; }
  fi
  local targets=() target
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$dir" -j"$jobs" "${targets[@]}" >"$dir.$log-build.log" 2>&1 ||
    { tail -n 60 "$dir.$log-build.log"; return 1; }
}
