# Thin wrapper over the CMake presets.
.PHONY: run build test bench fuzz lint format format-check install clean

# Every C++ source and header of the project, found anew on each call.
SOURCES = $(shell find src tests bench -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
PREFIX ?= /usr/local

# Builds the program alone (no tests, no benchmark) and starts it. The build
# writes to build/run.log, which is shown only when a step fails.
run:
	@mkdir -p build
	@cmake --preset run >build/run.log 2>&1 || { cat build/run.log; exit 1; }
	@cmake --build --preset run >>build/run.log 2>&1 || { cat build/run.log; exit 1; }
	@./build/run/scheduler

# Seconds `make fuzz` runs the trace reader's fuzz target for.
FUZZ_SECONDS ?= 60

build:
	cmake --preset dev
	cmake --build --preset dev

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

# clang-tidy (checks in .clang-tidy) and cppcheck over every source, with the
# compile commands of the dev build. Headers are checked as their own files too.
# cppcheck findings left out: a header checked alone cannot see the files that
# use its struct's members; and "use an algorithm" is taste, not a fault.
CPPCHECK_SUPPRESS = --suppress='unusedStructMember:*.h' --suppress=useStlAlgorithm

lint:
	cmake --preset dev >/dev/null
	printf '%s\n' $(SOURCES) | xargs -P 2 -n 4 clang-tidy -p build/dev --quiet \
	  --extra-arg=-Wno-unknown-warning-option
	cppcheck --quiet --error-exitcode=1 --std=c++17 --language=c++ --library=googletest \
	  --enable=warning,style,performance,portability --inline-suppr \
	  --suppress=missingIncludeSystem $(CPPCHECK_SUPPRESS) -I src -I tests -j 2 $(SOURCES)

format:
	clang-format -i $(SOURCES)

format-check:
	clang-format --dry-run -Werror $(SOURCES)

install:
	cmake --preset release >/dev/null
	cmake --build --preset release
	cmake --install build/release --prefix $(PREFIX)

clean:
	rm -rf build
