# Front door of the project: `make run` and `make test` install what is missing, build and go.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build run test test-default test-package test-browser test-asan test-fuzz demo bench screenshots package install clean

all: build

deps:
	@tools/install-deps.sh

build/default/CMakeCache.txt: | deps
	cmake --preset default

build: deps build/default/CMakeCache.txt
	cmake --build --preset default -j $(JOBS)

run: build
	tools/run.sh

test: test-default test-package test-browser test-asan test-fuzz

test-default: build
	ctest --preset default

# Builds the package and runs what it holds: kept apart so that the quick suite stays quick.
test-package: build
	ctest --preset package

# The web page in headless chromium.
test-browser: build
	ctest --preset browser

test-asan: deps
	@[ -f build/asan/CMakeCache.txt ] || cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

test-fuzz: deps
	@[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	ctest --preset fuzz

demo: build
	tools/demo.sh

bench: build
	tools/bench.sh

screenshots: build
	@tools/install-deps.sh --gui-tools
	tools/screenshots.sh

# The Debian package, build/package/tickerlux_VERSION_ARCH.deb, then lintian's verdict on it.
package: build
	tools/package.sh

# The programs are relinked without the build tree's RUNPATH (target preinstall) before they are
# copied. The running system is not told: see README for ldconfig and udev.
install: build
	cmake --build --preset default --target preinstall -j $(JOBS)
	cmake --install build/default --prefix $(PREFIX)

clean:
	rm -rf build
