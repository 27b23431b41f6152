# Front door of the build. Every target installs what is missing first.
#   make run         build and start the sculptor on its default ball
#   make test        build and run every test (under Xvfb)
#   make test-asan   the same with address and undefined-behaviour sanitizers
#   make release     optimised build in build-release/
#   make bench       build the benchmarks and print their BENCH lines
#   make fuzz        build the fuzz targets (clang, libFuzzer, sanitizers) in build-fuzz/
#                    and run each for FUZZ_SECONDS (10)
#   make fuzz-long   the same for FUZZ_SECONDS (600) each; FUZZ_TARGETS picks some

JOBS     ?= $(shell nproc)
# Paths inside the clone hash as relative ones, so every clone shares one ccache.
export CCACHE_BASEDIR ?= $(CURDIR)
WERROR   := $(if $(CI),ON,OFF)
CMAKE    := cmake -G Ninja -DPLASMORA_WERROR=$(WERROR)
# -noreset: the server would otherwise reset whenever its last client leaves,
# and a test starting at that moment could not connect.
XVFB     := xvfb-run -a -s "-screen 0 1600x1200x24 -noreset"
CTEST    := ctest --output-on-failure -j $(JOBS)

.PHONY: deps run test test-asan release bench fuzz fuzz-build fuzz-long clean

deps:
	@scripts/install-deps.sh build

build/build.ninja: | deps
	$(CMAKE) -S . -B build

run: deps build/build.ninja
	cmake --build build
	scripts/run-main.sh build/bin

test: deps build/build.ninja
	cmake --build build
	$(XVFB) $(CTEST) --test-dir build

test-asan: deps
	$(CMAKE) -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPLASMORA_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
	cmake --build build-asan
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  $(XVFB) $(CTEST) --test-dir build-asan

release: deps
	$(CMAKE) -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DPLASMORA_TESTS=OFF
	cmake --build build-release

bench:
	@scripts/install-deps.sh bench
	$(CMAKE) -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPLASMORA_TESTS=OFF -DPLASMORA_BENCH=ON
	cmake --build build-bench
	scripts/run-benchmarks.sh build-bench

FUZZ_SECONDS ?= 10
FUZZ_TARGETS ?=

fuzz-build:
	@scripts/install-deps.sh fuzz
	CC=clang-14 CXX=clang++-14 $(CMAKE) -S . -B build-fuzz -DPLASMORA_FUZZ=ON -DPLASMORA_GUI=OFF -DPLASMORA_TESTS=OFF
	cmake --build build-fuzz --target fuzzers

fuzz: fuzz-build
	scripts/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

fuzz-long: FUZZ_SECONDS = 600
fuzz-long: fuzz-build
	scripts/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf build build-asan build-release build-bench build-fuzz
