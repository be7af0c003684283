# Installs the Debian packages named as arguments when any is missing. Sourced by the scripts.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}
BUILD_PACKAGES=(cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    qt6-base-dev libqt6opengl6-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
    xvfb xauth libdxflib-dev libassimp-dev poppler-utils fonts-dejavu-core)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# dpkg-shlibdeps (dpkg-dev) and file let CPack compute the .deb's library dependencies.
PACKAGE_PACKAGES=(dpkg-dev file)
# The Windows cross build (scripts/windows-check): MinGW-w64 with POSIX threads for std::thread
# and std::mutex, wine to run the results, GoogleTest's sources to build it for Windows.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix wine64 googletest libcli11-dev)
