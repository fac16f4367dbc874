# The two everyday commands: `make run` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
# Tests run side by side, one per core; every test keeps to its own scratch folders and ports.
TEST_JOBS ?= $(shell nproc)

.PHONY: run test golden-update unit-tests core-sanitized fuzz-smoke fuzz windows-tests deps configure build asan clean \
        format format-check tidy tidy-changed

# With a display the desktop application starts; without one, the default projection of grovex-cli runs.
run: build
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ] && [ -x $(BUILD_DIR)/src/qt/grovex ]; then \
		$(BUILD_DIR)/src/qt/grovex; \
	else \
		$(BUILD_DIR)/src/cli/grovex-cli project; \
	fi

# Everything CI checks: the formatting, the static checks of the changed sources, all tests, the core and
# command line alone under the sanitizers, a short fuzz run, the core and command line built for Windows.
test: format-check tidy-changed unit-tests core-sanitized fuzz-smoke windows-tests

unit-tests: build
	ctest --preset $(PRESET) --output-on-failure -j $(TEST_JOBS)

# The core, the command line and their tests, configured without the desktop application, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
core-sanitized: deps
	@if [ ! -f build/core-asan/build.ninja ] || [ CMakePresets.json -nt build/core-asan/CMakeCache.txt ]; then \
		cmake --preset core-asan; \
	fi
	cmake --build --preset core-asan
	ctest --preset core-asan --output-on-failure -j $(TEST_JOBS)

# A few seconds per fuzz harness, built in the sanitizer tree above (one build fewer); `make fuzz` runs ten
# million inputs through each in the optimized fuzz tree (at most half an hour).
fuzz-smoke: deps
	FUZZ_PRESET=core-asan fuzz/run-fuzzers.sh --seconds 5

fuzz: deps
	fuzz/run-fuzzers.sh --runs 10000000 --seconds 1800

# The core, grovex-cli and their tests built for Windows with MinGW-w64, the tests run under Wine.
windows-tests: deps
	@if [ ! -f build/mingw/build.ninja ]; then cmake --preset mingw; fi
	cmake --build --preset mingw
	ctest --preset mingw --output-on-failure -j $(TEST_JOBS)

# Builds and runs every test, the desktop application's too, under the sanitizers.
asan:
	$(MAKE) unit-tests PRESET=asan

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

# The same checks over the sources changed since origin/main (or the last commit) and not yet committed;
# a finding fails. After the build, which makes the headers Qt's moc generates.
tidy-changed: build
	scripts/tidy-changed.sh $(BUILD_DIR)

clean:
	rm -rf build
