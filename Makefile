# SPDX-License-Identifier: GPL-3.0-or-later
# Fondaro: one entry point for setting up, building, running and testing.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test crashtest package bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# The crash tests' counts of states checked are printed after the summary.
test: build
	rm -f $(BUILD)/tests/crash/work/*.summary
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS); \
	  status=$$?; cat tests/crash/work/*.summary 2>/dev/null; exit $$status

# The crash tests alone, on a wider sample of crash states per operation
# (make test checks 40 of each; every one: CRASH_STATES=100000).
CRASH_STATES ?= 400
crashtest: build
	rm -f $(BUILD)/tests/crash/work/*.summary
	cd $(BUILD) && FONDARO_CRASH_STATES=$(CRASH_STATES) ctest -L crash --output-on-failure -j $(JOBS); \
	  status=$$?; cat tests/crash/work/*.summary 2>/dev/null; exit $$status

# The Debian package, built by dpkg-buildpackage in a copy of the source tree:
# $(BUILD)/fondaro_<version>_<arch>.deb and fondaro-dbgsym_<version>_<arch>.deb
# (packaging/build-deb.sh).
package: deps
	@bash packaging/build-deb.sh . $(BUILD)

bench: build
	cmake --build $(BUILD) --target benches -j $(JOBS)
	@bash scripts/run-benches.sh $(BUILD)

fuzz:
	@FONDARO_FUZZ=1 bash scripts/install-deps.sh
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DFONDARO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
