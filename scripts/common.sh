# Shared by the set-up scripts: progress lines and installing what is missing.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

say() { printf '[koyomiplan] %s\n' "$*"; }

# Installs the packages of scripts/debian-packages.txt that are not installed yet.
ensure_packages() {
    local wanted missing=()
    mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$ROOT/scripts/debian-packages.txt")
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "packages: all present"
        return 0
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { say "need root or sudo to install: ${missing[*]}"; return 1; }
        sudo="sudo"
    fi
    say "installing: ${missing[*]}"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds into $1 with the given build type and extra CMake arguments.
build_tree() {
    local dir="$1" type="$2"
    shift 2
    say "configuring $type build in ${dir#"$ROOT"/}"
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
    say "building"
    cmake --build "$dir" -j "$(nproc)"
}

# Configures and builds the fuzz targets (clang, libFuzzer, address and UB sanitizers) into
# build-fuzz.
build_fuzz_tree() {
    build_tree "$ROOT/build-fuzz" RelWithDebInfo -DKOYOMIPLAN_FUZZ=ON -DKOYOMIPLAN_TESTS=OFF \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
}
