#!/usr/bin/env bash
# The project's one entry point: installs what is missing, builds, runs and tests.
#
#   ./dev.sh run     build, then convert the bundled samples (and open the window on a display)
#   ./dev.sh test    every test: unit tests in the dev and asan presets, then each fuzz target,
#                    then the Windows build under Wine
#   ./dev.sh windows build the Windows preset (mingw-w64), test it and its window under Wine,
#                    check its zip and installer
#   ./dev.sh package build the release presets and put the .deb, the Windows zip and the Windows
#                    installer in build/packages
#   ./dev.sh deps    install the Debian packages the project needs, when missing
#   ./dev.sh bench   build the release preset and run the benchmarks
#   ./dev.sh fuzz [SECONDS]   build the fuzz preset and run each target (default 60 s each)
#   ./dev.sh lint    clang-format and clang-tidy over the sources
set -euo pipefail
cd "$(dirname "$0")"
# ccache, when present, shares compiled objects between checkouts of the project.
export CCACHE_BASEDIR="$PWD"

PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    qt6-base-dev qt6-base-dev-tools fonts-arphic-uming xvfb xauth
    libxml2-utils help2man ccache
    g++-mingw-w64-x86-64-posix wine nsis
)

deps() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "== installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update
        # No recommended packages: a desktop theme would change how the file dialogs look.
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}

unit_tests() {
    local preset=$1
    build "$preset"
    ctest --preset "$preset" -j "$(nproc)"
}

# The Wine prefix, made once, with what the window's tests need: the null graphics driver, with
# which dialogs work without any display (with the default driver and no display, no dialog is
# made at all); no window-manager hand-over under Xvfb, which costs 2 s at each window's close;
# and the template's font, "新細明體", drawn by the Traditional Chinese Ming face of
# fonts-arphic-uming (Wine's own choice has no Chinese glyphs: the captions become boxes); and
# no crash dialog, which nobody can close without a display: a program that crashes ends at once
# instead of holding its test until CTest gives up.
# The graphics driver is read when the wineserver starts, so the server is restarted after.
wine_prefix() {
    local done="$WINEPREFIX/pelagor-prefix-ready-2"
    [ -f "$done" ] && return
    mkdir -p "$WINEPREFIX"
    {
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 新細明體 /d 'AR PL UMing TW' /f
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        wineserver -k || true
        wineserver -w || true
    } </dev/null >/dev/null 2>&1
    touch "$done"
}

# The Windows build's tests under Wine. The Wine prefix (about 700 MB) lives in the build folder.
# A persistent wineserver and one program run first: otherwise each test program waits about
# 2.5 s for Wine's services to let go of CTest's output.
windows_tests() {
    build windows
    export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
    wine_prefix
    # Wine's own processes must not hold this script's output open after it ends.
    wineserver -p </dev/null >/dev/null 2>&1 || true  # already running is fine
    wine cmd /c exit </dev/null >/dev/null 2>&1
    local status=0
    ctest --preset windows || status=$?
    wineserver -k </dev/null >/dev/null 2>&1 || true
    return "$status"
}

# Every package this machine can make, from the release presets, in one folder.
package() {
    local out=build/packages
    rm -rf "$out"
    mkdir -p "$out"
    build release
    cpack --config build/release/CPackConfig.cmake -B "$out"
    if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
        build windows-release
        cpack --config build/windows-release/CPackConfig.cmake -B "$out"
        if command -v makensis >/dev/null; then
            # An installer of an earlier version must not come along.
            rm -f build/windows-release/installer/pelagor-*-setup.exe
            cmake --build --preset windows-release --target installer
            cp build/windows-release/installer/pelagor-*-setup.exe "$out"
        fi
    fi
    rm -rf "$out/_CPack_Packages"
    echo "== packages:"
    ls -d "$PWD/$out"/*
}

fuzz() {
    local seconds=${1:-60}
    build fuzz
    local corpus_root=build/fuzz/corpus
    for target in build/fuzz/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        local name
        name=$(basename "$target")
        mkdir -p "$corpus_root/$name"
        echo "== $name for ${seconds}s"
        "$target" -max_total_time="$seconds" -print_final_stats=1 \
            "$corpus_root/$name" "build/fuzz/fuzz/seeds/$name" 2>&1 | tail -n 12
    done
}

# The window, with the sample source and reference already chosen. The application reads no
# arguments, so the demo writes them into a settings store of its own, which Qt finds through
# XDG_CONFIG_HOME; the user's own settings stay as they are.
run_window() {
    local config="$PWD/build/demo-config"
    mkdir -p "$config/Orvane" build/examples
    cat >"$config/Orvane/Tessolt.conf" <<SETTINGS
[Pelagor]
Dialog\\WTRFile="$PWD/examples/sample.wtr"
Dialog\\TemplateMPSFile="$PWD/examples/reference.mps"
Dialog\\MPSFile="$PWD/build/examples/sample.mps"
SETTINGS
    echo "== the window opens with examples/sample.wtr and examples/reference.mps chosen"
    XDG_CONFIG_HOME="$config" build/dev/app/pelagor
}

run() {
    build dev
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        run_window
        return
    fi
    # sample.wtr and sample.evo would both make sample.mps, so each kind gets its own folder.
    local out=build/examples
    for sample in examples/sample.wtr examples/sample.evo; do
        local folder="$out/${sample##*.}"
        mkdir -p "$folder"
        build/dev/cli/pelagor-cli convert "$sample" --reference examples/reference.mps \
            --output-dir "$folder"
        build/dev/cli/pelagor-cli show --reference "$folder/$(basename "${sample%.*}").mps"
    done
}

# clang-tidy over every source: the dev build's compile commands (its tests and benchmarks
# included) for most, the fuzz preset's (configured only) for the fuzz targets. The Windows
# sources (WIN32 only) are checked against the Windows build's compile commands, once
# `./dev.sh windows` has made them, with clang reading mingw-w64's headers.
lint() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
    build dev
    cmake --preset fuzz >/dev/null
    local windows_only='Win32\.cpp$|^app/win32/|^tests/app/win32/'
    local jobs
    jobs=$(nproc)
    git ls-files '*.cpp' | grep -v -E "^fuzz/|$windows_only" \
        | xargs -P "$jobs" -n 4 clang-tidy -p build/dev --quiet --warnings-as-errors="*"
    git ls-files 'fuzz/*.cpp' \
        | xargs -P "$jobs" -n 4 clang-tidy -p build/fuzz --quiet --warnings-as-errors="*"
    [ -f build/windows/compile_commands.json ] || return 0
    local mingw=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++
                 --extra-arg=-nostdlibinc)
    while read -r folder; do
        mingw+=("--extra-arg=-isystem$folder")
    done < <(x86_64-w64-mingw32-g++-posix -E -x c++ -v - </dev/null 2>&1 \
        | sed -n '/<...> search starts/,/End of search/{/^ /p}' \
        | grep -v -E 'include-fixed|posix/include$')
    git ls-files '*.cpp' | grep -E "$windows_only" \
        | xargs -P "$jobs" -n 4 clang-tidy -p build/windows --quiet --warnings-as-errors="*" "${mingw[@]}"
}

case "${1:-}" in
    deps) deps ;;
    run) deps; run ;;
    test)
        deps
        unit_tests dev
        unit_tests asan
        fuzz "${FUZZ_SECONDS:-60}"
        windows_tests
        ;;
    windows) deps; windows_tests ;;
    package) deps; package ;;
    bench) deps; build release; for b in build/release/bench/bench_*; do "$b"; done ;;
    fuzz) deps; fuzz "${2:-60}" ;;
    lint) lint ;;
    *) sed -n '2,/^set -euo/{/^#/p}' "$0"; exit 2 ;;
esac
