# Thin wrapper over the CMake presets.
.PHONY: run build test clean

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

clean:
	rm -rf build
