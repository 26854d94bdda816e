# Wraps CMake + Ninja. `make run` starts the program, `make test` runs every test.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-asan bench clean

all: build

deps:
	@scripts/setup-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

test-asan: deps
	@cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARDO_SANITIZE=ON -DKARDO_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)
	@cd $(BUILD_ASAN) && ctest --output-on-failure -j $(JOBS) --timeout 900

bench: build
	@scripts/run-bench $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN)
