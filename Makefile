# Entry points: `make demo` and `make test` install what is missing, build and run.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build test demo asan clean

all: build

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

demo: build
	./$(BUILD)/lumoidl examples/*.idl

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: setup
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMOIDL_SANITIZE=ON
	cmake --build build-asan
	ctest --test-dir build-asan --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-asan build-windows
