# The suite's entry points. `run`, `test` and `bench` set the machine up themselves.
APP    ?= zorvix
ARGS   ?= $(if $(filter zorvix,$(APP)),2,)
JOBS   ?= $(shell nproc)
BUILD  ?= build
HOST   := $(BUILD)/host
WIN    := $(BUILD)/win64
CMAKE_WIN := cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: setup build build-host build-win test run bench dist clean

setup:
	@bash tools/setup.sh

build-host:
	@cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=Debug -DSUITE_BENCH=OFF >/dev/null
	@cmake --build $(HOST) -j $(JOBS)

build-win:
	@$(CMAKE_WIN) -DSUITE_BENCH=OFF >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

build: build-host build-win

# One CTest run over both trees, so its summary closes the output.
test: setup build
	@printf 'subdirs("host" "win64")\n' > $(BUILD)/CTestTestfile.cmake
	@bash tools/with-display.sh ctest --test-dir $(BUILD) --output-on-failure

run: setup build-win
	@BUILD=$(BUILD) bash tools/run.sh $(APP) $(ARGS)

bench: setup
	@cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DSUITE_BENCH=ON >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS)
	@$(CMAKE_WIN) -DSUITE_BENCH=ON >/dev/null
	@cmake --build $(WIN) -j $(JOBS)
	@BUILD=$(BUILD) bash tools/with-display.sh bash tools/bench.sh

# The portable folder and zip, and the setup program (NSIS, installed by setup).
dist: setup build-win
	@BUILD=$(BUILD) bash tools/dist.sh

clean:
	rm -rf build dist
