# The two everyday commands: `make run` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: run test deps configure build asan clean format

# With a display the desktop application starts; without one, the default projection of grovex-cli runs.
run: build
	@if [ -n "$${DISPLAY}$${WAYLAND_DISPLAY}" ] && [ -x $(BUILD_DIR)/src/qt/grovex ]; then \
		$(BUILD_DIR)/src/qt/grovex; \
	else \
		$(BUILD_DIR)/src/cli/grovex-cli project; \
	fi

test: build
	ctest --preset $(PRESET) --output-on-failure

# Builds and runs every test under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	$(MAKE) test PRESET=asan

deps:
	@scripts/ensure-packages.sh

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then cmake --preset $(PRESET); fi

build: configure
	cmake --build --preset $(PRESET)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
