# Thin wrapper over the CMake presets.
.PHONY: run build test bench fuzz clean

# Seconds `make fuzz` runs the trace reader's fuzz target for.
FUZZ_SECONDS ?= 60

build:
	cmake --preset dev
	cmake --build --preset dev

run: build
	./build/dev/scheduler

test:
	cmake --preset dev
	cmake --build --preset dev
	ctest --preset dev
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

bench:
	cmake --preset bench
	cmake --build --preset bench
	./build/bench/bench_scheduler
	./build/bench/bench_report

fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz
	mkdir -p build/fuzz/corpus
	./build/fuzz/trace_reader_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	  -print_final_stats=1 build/fuzz/corpus tests/fuzz/corpus

clean:
	rm -rf build
