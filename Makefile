# A thin wrapper around CMake's presets: one short command installs what is
# missing, builds and runs. The build trees live in build/<preset>.

PRESET ?= release
TEST_PRESETS ?= release asan
CTEST_FLAGS ?= --parallel 2

.PHONY: all run test soak bench screenshot package build deps format format-check install clean

all: build

deps:
	./scripts/install-deps

# Only run and test install what is missing: build, install and package
# work on any machine that already has the tools, with or without apt.
DEPS := $(if $(filter run test,$(MAKECMDGOALS)),deps)

build/%/build.ninja: CMakeLists.txt CMakePresets.json | $(DEPS)
	cmake --preset $*

build: build/$(PRESET)/build.ninja
	cmake --build --preset $(PRESET)

run: build
	./build/$(PRESET)/bin/lumidot

test: deps format-check
	@set -e; for p in $(TEST_PRESETS); do \
	  echo "== $$p: configure, build, test"; \
	  cmake --preset $$p; \
	  cmake --build --preset $$p; \
	  ctest --preset $$p $(CTEST_FLAGS); \
	done

# The soak of random clicks and keys for SOAK_SECONDS instead of the suite's
# 3 (PRESET=asan to run it under the sanitizers; SOAK_SEED=N replays the
# clicks of the seed a failure printed).
SOAK_SECONDS ?= 600
soak: build
	QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy LUMIDOT_SOAK_SECONDS=$(SOAK_SECONDS) \
	  $(if $(SOAK_SEED),LUMIDOT_SOAK_SEED=$(SOAK_SEED)) \
	  ./build/$(PRESET)/tests/window_tests --gtest_filter='SoakTest.*'

# docs/lumidot.png, the README's picture, taken from the real window.
screenshot: build
	./scripts/screenshot ./build/$(PRESET)/bin/lumidot docs/lumidot.png

# A Debian package of the release build, in build/$(PRESET)/.
package: build
	cmake --build --preset $(PRESET) --target package

# The real window on a virtual X server, its figures against the targets.
bench: build
	xvfb-run -a -s "-screen 0 1024x768x24" ./build/$(PRESET)/bin/lumidot_bench

# The formatter's own check first, so a missing clang-format 14 is told in
# one line rather than inside a failed build command.
format: build/$(PRESET)/build.ninja
	@./scripts/clang-format --version >/dev/null
	cmake --build --preset $(PRESET) --target format

format-check: build/$(PRESET)/build.ninja
	@./scripts/clang-format --version >/dev/null
	cmake --build --preset $(PRESET) --target format-check

install: build
	cmake --install build/$(PRESET) $(if $(PREFIX),--prefix $(PREFIX))

clean:
	rm -rf build
