# Builds, tests and runs ORLA. On a fresh Debian 12 machine, as root:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
WIN_BUILD  ?= build-win
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

PACKAGES = cmake ninja-build g++ pkg-config \
           qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-httpserver-dev libqrencode-dev libgl-dev \
           libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev libdds-dev \
           chromium chromium-driver python3-selenium poppler-utils tidy zbar-tools \
           fonts-dejavu-core \
           dpkg-dev desktop-file-utils shared-mime-info \
           clang libclang-rt-14-dev

# What `make test-windows` needs: the cross compiler, wine to run the programs,
# GoogleTest's sources and the header-only libraries.
WIN_PACKAGES = cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 \
               googletest nlohmann-json3-dev libcli11-dev

.PHONY: all deps deps-windows configure build run test test-asan test-windows fuzz-build fuzz fuzz-ci bench package test-package clean

all: build

# Installs only those of the packages $(1) that are missing; does nothing when
# all are there.
install_missing = missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

deps:
	@$(call install_missing,$(PACKAGES))

deps-windows:
	@$(call install_missing,$(WIN_PACKAGES))

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "No display found: set DISPLAY (or run 'xvfb-run make run')." >&2; exit 1; fi
	./$(BUILD)/src/shell/orla $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-asan

# The Qt-free layers once more under AddressSanitizer and UndefinedBehaviorSanitizer:
# damaged files and odd movements must never read or write out of bounds.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLA_SANITIZE=ON \
	  -DORLA_BUILD_GUI=OFF -DORLA_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets of fuzz/, built by clang with ASan and UBSan in a folder of
# their own; `make fuzz` runs each for FUZZ_SECONDS seconds (default 600), `make
# fuzz-ci` for 30 seconds. Crashing inputs are left in $(FUZZ_BUILD)/artifacts.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLA_FUZZ=ON \
	  -DORLA_BUILD_GUI=OFF -DORLA_BUILD_BENCH=OFF -DORLA_BUILD_TESTS=OFF $(filter-out -DORLA_WERROR=ON,$(CMAKE_ARGS))
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers orla-cli
	fuzz/corpus.sh $(FUZZ_BUILD)

fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=30

# The Qt-free layers, orla-cli and their tests built for Windows with mingw-w64
# and run under wine, in a wine prefix of the build folder (made at the first
# run). The wine server is kept up while the tests run, with its output away
# from ctest's pipes, and stopped after.
WINE      = $(firstword $(wildcard /usr/lib/wine/wine64) wine)
WINE_ENV  = WINEPREFIX=$(abspath $(WIN_BUILD))/wineprefix WINEARCH=win64 WINEDEBUG=-all \
            WINEDLLOVERRIDES="mscoree,mshtml="
test-windows: deps-windows
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DORLA_BUILD_GUI=OFF -DORLA_BUILD_BENCH=OFF \
	  -DORLA_WITH_DDS=OFF $(CMAKE_ARGS)
	cmake --build $(WIN_BUILD) -j $(JOBS)
	@[ -f $(WIN_BUILD)/wineprefix/system.reg ] || { echo "Making the wine prefix"; \
	  $(WINE_ENV) $(WINE) wineboot --init </dev/null >/dev/null 2>&1; \
	  $(WINE_ENV) wineserver -w; }
	@$(WINE_ENV) wineserver -p </dev/null >/dev/null 2>&1; \
	$(WINE_ENV) $(WINE) wineboot </dev/null >/dev/null 2>&1; \
	cd $(WIN_BUILD) && ctest --output-on-failure -j $(JOBS); status=$$?; \
	$(WINE_ENV) wineserver -k; exit $$status

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b" || exit 1; done

# The Debian package orla_<version>_amd64.deb, made from the build above and left
# in this folder; install it with `apt install ./orla_*.deb`.
package: build
	rm -rf $(BUILD)/package
	cd $(BUILD) && cpack -G DEB -B package
	cp $(BUILD)/package/orla_*.deb .

# Builds the package and checks it as an installed program: contents, versions,
# a tournament made and dumped by the unpacked orla-cli, the desktop entry.
test-package: package
	packaging/test-package.sh $$(ls -t orla_*_amd64.deb | head -n 1)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD) fuzz/corpus
