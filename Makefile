# Thin wrapper over CMake and Ninja; see README.md.
BUILD       ?= build
ASAN_BUILD  ?= build-asan
FUZZ_BUILD  ?= build-fuzz
NOGUI_BUILD ?= build-nogui
JOBS        ?= 2
FUZZ_RUNS   ?= 20000
EXAMPLE     ?= examples/plantation-thin-harvest.kdr

# The builds are CMakePresets.json's (release, asan, fuzz, no-gui), in the folders named above;
# ccache serves every build when it is installed.
CCACHE    := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CONFIGURE = cmake $(CCACHE) --preset

.PHONY: all deps build run test format-check test-release test-nogui test-sanitize fuzz bench \
        package clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	$(CONFIGURE) release -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

# The desktop program, started in the build's application folder (help, manual, font file).
# Without a display the batch runner does the program's main job: a worked regime's report.
run: build
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	  cd $(BUILD)/app-dir && exec $(abspath $(BUILD))/desktop/keldovar; \
	else \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running $(EXAMPLE) through keldovar-cli instead."; \
	  $(BUILD)/cli/keldovar-cli run $(EXAMPLE); \
	fi

test: format-check test-release test-nogui test-sanitize fuzz

# Every C++ file as .clang-format writes it.
format-check: deps
	tools/check-format.sh

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The core alone, configured without Qt: a toolkit include below the desktop program fails here.
test-nogui: deps
	$(CONFIGURE) no-gui -B $(NOGUI_BUILD)
	cmake --build $(NOGUI_BUILD) -j $(JOBS)
	cd $(NOGUI_BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	$(CONFIGURE) asan -B $(ASAN_BUILD)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# A bounded libFuzzer run over every reader of outside input (clang).
fuzz: deps
	$(CONFIGURE) fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_RUNS)

# The Debian package (CPack), its dependencies computed by dpkg-shlibdeps: $(BUILD)/keldovar_*.deb
package: build
	cmake --build $(BUILD) --target package
	tools/check-package.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(NOGUI_BUILD)
