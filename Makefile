# Entry points for a fresh Debian 12 machine: `make run` and `make test` install what is
# missing, build and then start the program or run the whole test suite.
JOBS ?= $(shell nproc)
BUILD := build

.PHONY: all deps build run test test-dev test-asan fuzz fuzz-long bench eval format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/dev

test: deps test-dev test-asan fuzz

test-dev: build
	@ctest --preset dev -j $(JOBS)

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzzers.sh $(BUILD)/fuzz

# Not part of `make test`: each target runs FUZZ_SECONDS (default 600) and keeps what it
# finds in FUZZ_CORPUS (default build/fuzz-corpus, one folder per target, outside the sources).
FUZZ_SECONDS ?= 600
FUZZ_CORPUS ?= $(BUILD)/fuzz-corpus
fuzz-long: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_CORPUS=$(FUZZ_CORPUS) scripts/run-fuzzers.sh $(BUILD)/fuzz

bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS)
	@bench/run.sh $(BUILD)/release

eval: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release -j $(JOBS) --target vintrel-cli
	@bench/eval/run.sh $(BUILD)/release/cli/vintrel-cli

format:
	@git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
