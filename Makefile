# Entry points: `make demo` and `make test` install what is missing, build and run.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build test windows demo asan clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	bash scripts/windows-leg.sh

demo: build
	./$(BUILD)/lumoidl examples/*.idl
	./$(BUILD)/lumoidl --format json examples/*.idl | head -n 40
	@if command -v dot > /dev/null; then \
	  ./$(BUILD)/lumoidl --format dot examples/*.idl | dot -Tsvg -o $(BUILD)/interfaces.svg && \
	  echo "dependency graph drawn: $(BUILD)/interfaces.svg"; \
	else echo "Graphviz is not installed: no dependency graph drawn"; fi

# The Windows x86-64 DLL and the test programs, cross-built and run under Wine.
windows: setup
	bash scripts/windows-leg.sh

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: setup
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMOIDL_SANITIZE=ON
	cmake --build build-asan
	ctest --test-dir build-asan --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-asan build-windows
