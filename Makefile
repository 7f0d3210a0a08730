# The front door. `make test` and `make run` do all the set-up themselves.
.PHONY: all deps configure build dist package screenshots test run clean format check-format fuzz

BUILD := build

all: dist

deps:
	@cmake/install-deps.sh

configure: deps
	@cmake --preset windows >/dev/null
	@cmake --preset windows32 >/dev/null
	@cmake --preset native >/dev/null

build: configure
	cmake --build --preset windows
	cmake --build --preset windows32
	cmake --build --preset native

# The shipping folders, one a width: every program and plug-in, flat, plus
# tools/: dist/ (64-bit) and dist32/ (32-bit).
dist: deps
	@cmake --preset windows >/dev/null
	@cmake --preset windows32 >/dev/null
	cmake --build --preset windows
	cmake --build --preset windows32
	rm -rf dist dist32
	cp -r $(BUILD)/windows/dist dist
	cp -r $(BUILD)/windows32/dist dist32
	@echo "dist/ (64-bit) and dist32/ (32-bit) hold:"; ls dist

# The release packages: build/package/<name>-<version>-win64.zip of dist/ and
# ...-win32.zip of dist32/, without tools/, the readme beside them and one
# SHA256SUMS of all three.
package: dist
	cmake/package.sh $(BUILD)/package $(BUILD)/windows/package.env win64=dist win32=dist32

# Pictures of every program and plug-in panel under Wine, in docs/screenshots/.
screenshots: dist
	cmake/screenshots.sh $(BUILD)/windows docs/screenshots

test: build
	cmake/check-format.sh
	cmake/fuzz.sh
	cmake/run-tests.sh

# The libFuzzer harnesses, open-ended for SECONDS each (default 60).
SECONDS ?= 60
fuzz: deps
	cmake/fuzz.sh $(SECONDS)

run: dist
	cmake/run-main.sh

# Rewrites every C++ file in the tree's one layout (.clang-format).
format: deps
	cmake/check-format.sh --fix

check-format: deps
	cmake/check-format.sh

clean:
	rm -rf $(BUILD) dist dist32
