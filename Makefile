# Front door: `make run` and `make test` install what is missing, build and go.
SHELL := /bin/bash
.DEFAULT_GOAL := test

PACKAGES := cmake ninja-build g++ make qt6-base-dev qt6-base-private-dev libgl-dev libxcb1-dev \
            fonts-dejavu-core xvfb xauth openbox x11-utils xdotool dpkg-dev file desktop-file-utils \
            lintian appstream man-db \
            qt6-tools-dev qt6-l10n-tools
BUILD := build
ASAN_BUILD := build-asan
NPROC := $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps configure configure-asan build run test test-plain test-asan clean icons

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -ne 0 ]; then \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get install -y --no-install-recommends $$(echo $$missing)"; \
	    exit 1; \
	  fi; \
	  echo "Installing: $$(echo $$missing)"; \
	  export DEBIAN_FRONTEND=noninteractive; \
	  apt-get update -q && apt-get install -y -q --no-install-recommends $$missing; \
	fi

# The Makefile's builds stop on any warning. DIRAPI_LIBRARY=/path/to/lib.so builds the program
# against a site's own directory library (DIRAPI_DEPENDS: what its package then depends on);
# without it, against the stand-in. tools/configure.sh runs cmake when a folder is new or one of
# these settings differs from its cache, so a folder always builds what the command asks.
DIRAPI_LIBRARY ?=
DIRAPI_DEPENDS ?=
SETTINGS := -DARBOLIX_WERROR=ON
PLAIN_SETTINGS := $(SETTINGS) "-DARBOLIX_DIRAPI_LIBRARY=$(abspath $(DIRAPI_LIBRARY))" \
                  "-DARBOLIX_DIRAPI_DEPENDS=$(DIRAPI_DEPENDS)"

# The plain build is a packager's: Release, hardened (the CMake default), warnings as errors. So
# the tests run what is shipped, and a warning that only the optimiser of a Release build finds
# (GCC 12's false -Wrestrict on an inlined string insertion) stops `make test` first.
configure: deps
	tools/configure.sh . $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(PLAIN_SETTINGS)

configure-asan: deps
	tools/configure.sh . $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DARBOLIX_SANITIZE=ON \
	  $(SETTINGS)

build: configure
	cmake --build $(BUILD) -j $(NPROC)

run: build
	./$(BUILD)/app/arbolix

test-plain: configure
	cmake --build $(BUILD) -j $(NPROC)
	ctest --test-dir $(BUILD) --output-on-failure -j $(NPROC)

test-asan: configure-asan
	cmake --build $(ASAN_BUILD) -j $(NPROC)
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(NPROC)

test: test-plain test-asan

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BUILD)-site

# Redraws the two icon images from the one drawing (needs librsvg2-bin).
icons:
	rsvg-convert -w 32 -h 32 res/arbolix.svg -o res/arbolix-32.png
	rsvg-convert -w 16 -h 16 res/arbolix.svg -o res/arbolix-16.png

# Fuzzing: clang with libFuzzer in a folder of its own. Each target runs FUZZ_SECONDS on a
# scratch copy of its seed corpus, so the committed seeds never grow; a finding fails the run
# and leaves the input that caused it in $(FUZZ_BUILD)/findings/.
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := listing plantfile displaycommand findwalk
FUZZ_PACKAGES := cmake ninja-build clang libclang-rt-14-dev

.PHONY: fuzz

fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DARBOLIX_FUZZ=ON -DARBOLIX_WERROR=ON
	cmake --build $(FUZZ_BUILD) -j $(NPROC)
	@mkdir -p $(FUZZ_BUILD)/findings
	@for t in $(FUZZ_TARGETS); do \
	  rm -rf $(FUZZ_BUILD)/corpus/$$t && mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
	  cp fuzz/corpus/$$t/* $(FUZZ_BUILD)/corpus/$$t/ || exit 1; \
	  echo "== fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  if ! $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	      -artifact_prefix=$(FUZZ_BUILD)/findings/$$t- $(FUZZ_BUILD)/corpus/$$t \
	      > $(FUZZ_BUILD)/fuzz_$$t.log 2>&1; then \
	    tail -n 40 $(FUZZ_BUILD)/fuzz_$$t.log; \
	    echo "fuzz_$$t: finding, input kept in $(FUZZ_BUILD)/findings/"; \
	    exit 1; \
	  fi; \
	  grep -E '^(Done|stat::average_exec_per_sec)' $(FUZZ_BUILD)/fuzz_$$t.log; \
	done

# Installing: `make install PREFIX=/opt/arbolix` (DESTDIR is honoured too). The library goes to
# lib/x86_64-linux-gnu under the prefix; outside /usr and /usr/local the loader must be told
# where (ldconfig or LD_LIBRARY_PATH), as the program carries no run path.
PREFIX ?= /usr/local

.PHONY: install package screenshots

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The two Debian packages, in $(BUILD)/: arbolix_VERSION_ARCH.deb and
# libdirapi1-standin_VERSION_ARCH.deb; with DIRAPI_LIBRARY, only the program's.
package: build
	cd $(BUILD) && cpack

# Redraws docs/*.png from the real program under a virtual display.
SCREENSHOT_PACKAGES := xvfb xauth openbox x11-utils xdotool imagemagick

screenshots: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(SCREENSHOT_PACKAGES)"
	xvfb-run -a -s "-screen 0 1024x720x24" tools/screenshots.sh $(BUILD)/app/arbolix docs

# Benchmark: Arbolix against the bare directory listing and a plain QTreeWidget on generated
# plants of 10 thousand, 100 thousand and a million blocks. Prints medians and writes them to
# $(BUILD)/bench.json. Not a test. BENCH_QUICK=1 runs the two small sizes once.
.PHONY: bench

bench: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/arbolix_bench $(if $(BENCH_QUICK),--quick) \
	  --json $(BUILD)/bench.json
