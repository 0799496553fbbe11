# Thin wrapper over the CMake presets.
.PHONY: run build test bench clean

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

clean:
	rm -rf build
