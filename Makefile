# The two everyday commands: `make run` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: run test deps configure build asan clean format

run: build
	$(BUILD_DIR)/src/cli/grovex-cli project

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
