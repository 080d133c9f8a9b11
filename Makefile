# The two entry points: `make demo` runs the main job, `make test` runs every
# test. Both set up a fresh Debian 12 machine first.
SHELL := /bin/bash
JOBS ?= 2

.PHONY: all setup build build-linux build-win64 build-win32 test e2e demo bench fuzz clean

all: build

setup:
	@scripts/setup.sh

build-linux: setup
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS)

build-win64: setup
	cmake --preset win64 >/dev/null
	cmake --build --preset win64 -j$(JOBS)

build-win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)

build: build-linux build-win64 build-win32

# Every suite runs even when an earlier one fails; the exit status tells whether all passed.
test: build
	@status=0; \
	ctest --test-dir build/linux -j$(JOBS) --output-on-failure --timeout 300 || status=1; \
	ctest --test-dir build/win64 --output-on-failure --timeout 600 || status=1; \
	ctest --test-dir build/win32 --output-on-failure --timeout 900 || status=1; \
	exit $$status

# The end-to-end scenarios alone (the peers start and stop with them).
e2e: build-win64
	ctest --test-dir build/win64 -L e2e --output-on-failure --timeout 600

# The demo's catalogue is checked by the maker's tool before it is served.
demo: build-win64
	cmake --preset linux >/dev/null
	cmake --build --preset linux -j$(JOBS) --target kvcatalog
	scripts/demo.sh

# The benchmarks side by side in one run, a table of figures and targets.
bench: build-win64 build-win32
	scripts/bench.sh

# libFuzzer with clang-14: every target a million executions, a table of results.
fuzz: setup
	scripts/fuzz.sh

clean:
	rm -rf build
