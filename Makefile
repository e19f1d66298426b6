# Builds, tests and runs ORLA. On a fresh Debian 12 machine, as root:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs every test
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

PACKAGES = cmake ninja-build g++ pkg-config \
           qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev \
           libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev libdds-dev \
           chromium poppler-utils \
           fonts-dejavu-core \
           dpkg-dev desktop-file-utils shared-mime-info \
           clang libclang-rt-14-dev

.PHONY: all deps configure build run test test-asan fuzz-build fuzz fuzz-ci bench package test-package clean

all: build

# Installs only the packages that are missing; does nothing when all are there.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" != 0 ]; then SUDO=sudo; else SUDO=; fi; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

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
# fuzz-ci` for 20 seconds. Crashing inputs are left in $(FUZZ_BUILD)/artifacts.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLA_FUZZ=ON \
	  -DORLA_BUILD_GUI=OFF -DORLA_BUILD_BENCH=OFF -DORLA_BUILD_TESTS=OFF $(filter-out -DORLA_WERROR=ON,$(CMAKE_ARGS))
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers orla-cli
	fuzz/corpus.sh $(FUZZ_BUILD)

fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=20

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) fuzz/corpus
