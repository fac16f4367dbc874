# The two everyday commands: `make run` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
# Tests run side by side, one per core; every test keeps to its own scratch folders and ports.
TEST_JOBS ?= $(shell nproc)

.PHONY: run test golden-update unit-tests sanitized-build sanitized-tests fuzz-smoke fuzz windows-tests deps \
        configure build clean format format-check tidy tidy-changed

# With a display the desktop application starts; without one, the default projection of grovex-cli runs.
run: build
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ] && [ -x $(BUILD_DIR)/src/qt/grovex ]; then \
		$(BUILD_DIR)/src/qt/grovex; \
	else \
		$(BUILD_DIR)/src/cli/grovex-cli project; \
	fi

# Everything CI checks: the formatting, the static checks of the changed sources, every test under the
# sanitizers, a short fuzz run, the core and command line built for Windows. The default tree is not built:
# the sanitized tree holds every program and test (see CONTRIBUTING.md, "Where make test spends its time").
test: format-check tidy-changed sanitized-tests fuzz-smoke windows-tests

# The tests of the default tree, without the sanitizers.
unit-tests: build
	ctest --preset $(PRESET) --output-on-failure -j $(TEST_JOBS)

# Everything, the desktop application and the fuzz harnesses included, built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer, and every test run.
sanitized-build: deps
	@if [ ! -f build/asan/build.ninja ] || [ CMakePresets.json -nt build/asan/CMakeCache.txt ]; then \
		cmake --preset asan; \
	fi
	cmake --build --preset asan

sanitized-tests: sanitized-build
	ctest --preset asan --output-on-failure -j $(TEST_JOBS)

# One second per fuzz harness, built in the sanitized tree above; `make fuzz` runs ten million inputs
# through each in the optimized fuzz tree (at most half an hour).
fuzz-smoke: sanitized-build
	FUZZ_PRESET=asan fuzz/run-fuzzers.sh --seconds 1

fuzz: deps
	fuzz/run-fuzzers.sh --runs 10000000 --seconds 1800

# The core, grovex-cli and their tests built for Windows with MinGW-w64, the tests run under Wine.
windows-tests: deps
	@if [ ! -f build/mingw/build.ninja ] || [ CMakePresets.json -nt build/mingw/CMakeCache.txt ]; then \
		cmake --preset mingw; \
	fi
	cmake --build --preset mingw
	ctest --preset mingw --output-on-failure -j $(TEST_JOBS)

deps:
	@scripts/ensure-packages.sh

# Again when the presets changed since, so that a build folder takes up new settings.
configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ] || [ CMakePresets.json -nt $(BUILD_DIR)/CMakeCache.txt ]; then \
		cmake --preset $(PRESET); \
	fi

build: configure
	cmake --build --preset $(PRESET)

# Rewrites the pinned outputs under tests/golden/expected after a change meant to alter them.
golden-update: build
	tests/golden/golden.sh $(BUILD_DIR)/src/cli/grovex-cli --update

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming the files, when a source is not formatted as .clang-format says.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# The checks of .clang-tidy over every C++ source of the default build (a quarter of an hour on two cores).
tidy: configure
	run-clang-tidy -quiet -p $(BUILD_DIR) '^$(CURDIR)/(src|tests|bench|tools)/.*\.cpp$$'

# The same checks over the sources committed since origin/main, else over those being edited, else (a clean
# checkout) over the last commit's; a finding fails. With the sanitized tree's compile commands, after its
# build, which makes the headers Qt's moc generates.
tidy-changed: sanitized-build
	scripts/tidy-changed.sh build/asan

clean:
	rm -rf build
