# Entry points: `make demo` and `make test` install what is missing, build and run.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build test windows sanitize fuzz bench mutants demo clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DLUMOIDL_BUILD_TESTS=ON
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	bash scripts/sanitizer-leg.sh
	bash scripts/windows-leg.sh
	FUZZ_SECONDS=60 bash scripts/fuzz-leg.sh

# Needs only the compiler, CMake, Ninja, byacc and nlohmann-json; builds the library and the tool.
demo:
	@bash scripts/setup.sh demo
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DLUMOIDL_BUILD_TESTS=OFF
	cmake --build $(BUILD) --target lumoidl_tool
	./$(BUILD)/lumoidl examples/*.idl
	./$(BUILD)/lumoidl --format json examples/*.idl | head -n 40
	@if command -v dot > /dev/null; then \
	  ./$(BUILD)/lumoidl --format dot examples/*.idl | dot -Tsvg -o $(BUILD)/interfaces.svg && \
	  echo "dependency graph drawn: $(BUILD)/interfaces.svg"; \
	else echo "Graphviz is not installed: no dependency graph drawn"; fi

# The Windows x86-64 DLL and the test programs, cross-built and run under Wine.
windows: setup
	bash scripts/windows-leg.sh

# The fuzzer for FUZZ_SECONDS seconds (default 600).
fuzz: setup
	FUZZ_SECONDS=$${FUZZ_SECONDS:-600} bash scripts/fuzz-leg.sh

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the threaded
# tests under ThreadSanitizer.
sanitize: setup
	bash scripts/sanitizer-leg.sh

# The benchmarks, built with full optimisation in a folder of their own: lumoidl against the
# widl peer on generated corpora of every shape, 1 and 4 MB, and of the libraries shape also 16
# and 64 MB (bench/RESULTS.md; three to five minutes), then the micro-benchmarks.
bench: setup
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMOIDL_BUILD_TESTS=OFF -DLUMOIDL_BUILD_BENCH=ON
	cmake --build build-bench --target throughput sort_benchmark
	python3 bench/compare.py --build build-bench --sizes libraries=1,4,16,64 --best-of 3
	./build-bench/bench/sort_benchmark

# Mutation testing of src/ against the Linux test programs (about half an hour; see tests/README.md).
# MUTANTS_FLAGS passes options on, e.g. MUTANTS_FLAGS="--seed 7 --count 300".
mutants: setup
	python3 scripts/mutants.py $(MUTANTS_FLAGS)

clean:
	rm -rf $(BUILD) build-asan build-tsan build-windows build-fuzz build-bench build-mutants
