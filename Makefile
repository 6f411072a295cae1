# Vantrel: the two everyday commands are `make run` and `make test`; both set up what they need.
WIN_BUILD    := build
NATIVE_BUILD := build-native
FUZZ_BUILD   := build-fuzz
JOBS         ?= $(shell nproc)
CTEST_FLAGS  ?= --output-on-failure

.PHONY: all deps build build-windows build-native test run bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh

$(WIN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(NATIVE_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON

build-windows: deps $(WIN_BUILD)/CMakeCache.txt
	cmake --build $(WIN_BUILD) -j $(JOBS)

build-native: deps $(NATIVE_BUILD)/CMakeCache.txt
	cmake --build $(NATIVE_BUILD) -j $(JOBS)

build: build-native build-windows

# Native tests first (fast, with the sanitizers, side by side), then everything under Wine, one case at a time:
# its cases share one display, its focus and clipboard.
test: build
	cd $(NATIVE_BUILD) && ctest $(CTEST_FLAGS) -j $(JOBS)
	cd $(WIN_BUILD) && ctest $(CTEST_FLAGS)

run: build-windows
	scripts/run.sh $(WIN_BUILD)

bench: build-windows
	scripts/bench.sh $(WIN_BUILD)

# The fuzz targets of fuzz/, built with clang in their own folder and run for FUZZ_SECONDS each
# (scripts/fuzz.sh); `make test` and `make run` never need clang.
fuzz:
	@scripts/install-deps.sh fuzz
	scripts/fuzz.sh $(FUZZ_BUILD)

clean:
	rm -rf $(WIN_BUILD) $(NATIVE_BUILD) $(FUZZ_BUILD)
