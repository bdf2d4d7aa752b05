# make test   build everything and run every test (unit and end-to-end); prints ctest's summary
# make run    build Pelvanto.exe and run it under Wine (on $DISPLAY, or a short demonstration
#             on a virtual display that saves screenshots to build/demo/)
# make build  build the Windows program (with mingw-w64's GCC and with clang) and the native tests
# make dist   build Pelvanto.exe and pack build/dist/Pelvanto-<version>-win64.zip and SHA256SUMS
# make clean  remove the preset build directories and test output
SHELL := /bin/bash
.DEFAULT_GOAL := test
.PHONY: deps build build-win build-clang build-native test run dist clean

RUN_PREFIX := $(CURDIR)/build/wineprefix

deps:
	@tools/install-deps.sh

# Windows first: the native preset's ctest runs the end-to-end tests against build/mingw.
build-win: deps
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw

# The same sources through a second compiler: clang and lld, warnings as errors.
build-clang: deps
	@cmake --preset mingw-clang >/dev/null
	@cmake --build --preset mingw-clang

build-native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

build: build-win build-clang build-native

test: build
	@ctest --preset native

run: build-win
	@if [ -n "$$DISPLAY" ]; then \
	  export WINEPREFIX="$(RUN_PREFIX)" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="; \
	  if [ ! -f "$(RUN_PREFIX)/system.reg" ]; then \
	    echo "Creating the Wine prefix $(RUN_PREFIX) (once)..."; \
	    wineboot -i >/dev/null 2>&1 && wineserver -w; \
	  fi; \
	  wine build/mingw/Pelvanto.exe; \
	else \
	  python3 tests/e2e/demo.py; \
	fi

dist: build-win
	@python3 tools/make_dist.py

clean:
	rm -rf build/native build/mingw build/mingw-clang build/dist build/e2e build/demo build/wineprefix
