# The front door. `make test` and `make run` do all the set-up themselves.
.PHONY: all deps configure build dist package screenshots test run clean format check-format fuzz

BUILD := build

all: dist

deps:
	@cmake/install-deps.sh

configure: deps
	@cmake --preset windows >/dev/null
	@cmake --preset native >/dev/null

build: configure
	cmake --build --preset windows
	cmake --build --preset native

# The shipping folder: every program and plug-in, flat, plus tools/.
dist: deps
	@cmake --preset windows >/dev/null
	cmake --build --preset windows
	rm -rf dist
	cp -r $(BUILD)/windows/dist dist
	@echo "dist/ holds:"; ls dist

# The release package: build/package/<name>-<version>-win64.zip of dist/
# without tools/, the readme beside it and SHA256SUMS of both.
package: dist
	cmake/package.sh dist $(BUILD)/package $(BUILD)/windows/package.env

# Pictures of every program and plug-in panel under Wine, in docs/screenshots/.
screenshots: dist
	cmake/screenshots.sh $(BUILD)/windows docs/screenshots

test: build
	cmake/check-format.sh
	cmake/run-tests.sh
	cmake/fuzz.sh

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
	rm -rf $(BUILD) dist
