# Thin wrapper over CMake: `make run` starts the client, `make test` runs every test.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
# Another branding: make RESOURCES=/path/to/folder run (the folder holds resources.manifest).
RESOURCES  ?=
CMAKE_ARGS ?=
ifneq ($(RESOURCES),)
CMAKE_ARGS += -DVELMORA_RESOURCES_DIR=$(abspath $(RESOURCES))
endif

PACKAGES := cmake g++ make pkg-config libtinyxml-dev libsqlite3-dev libglib2.0-dev libcurl4-openssl-dev \
            libwebkit2gtk-4.1-dev libcpp-httplib-dev googletest libgtest-dev libpng-dev libcairo2-dev \
            libpango1.0-dev libgtk-3-dev libx11-dev fonts-dejavu-core fonts-wqy-zenhei \
            libssl-dev ca-certificates libsodium-dev minisign xvfb xauth xfonts-base xdotool xcompmgr openbox trayer

.PHONY: all deps configure build run demo test test-tsan test-asan bench clean

all: build

deps:
	@scripts/deps.sh $(PACKAGES)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The client with the demo operator site beside it; without a desktop, on a private Xvfb with screenshots.
run: build
	scripts/run.sh $(BUILD) $(ARGS)

# The demo operator site on 127.0.0.1:8631 (DEMO_ARGS: --offer-update, --installer-marker FILE,
# --login-check MARKER, or another port).
demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target velmora-demo
	$(BUILD)/demo/velmora-demo $(DEMO_ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure --no-label-summary --no-tests=error -j $(JOBS)
	$(MAKE) --no-print-directory test-tsan
	$(MAKE) --no-print-directory test-asan

# The tests of code that runs on several threads (the message queue, workers, downloads), under the
# thread sanitizer.
TSAN_TESTS := tests/unit/window/window_tests tests/unit/threads/thread_tests \
              tests/integration/download/download_tests
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=thread
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(notdir $(TSAN_TESTS))
	cd $(TSAN_BUILD) && for test in $(TSAN_TESTS); do $$test --gtest_brief=1 || exit 1; done

# The same tests built with the address and undefined-behaviour sanitizers.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=address,undefined
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-label-summary --no-tests=error -j $(JOBS)

# Speed figures of the skinned windows' drawing, as ratios to a plain copy measured in the same run, and
# the browser views' and the whole client's memory and start time, as ratios to one bare engine view;
# the latter needs an X display, a virtual one when there is none, and the demo site's port 8631.
bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVELMORA_BUILD_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target compose_bench browser_memory_bench browser_demo velmora
	$(BENCH_BUILD)/bench/compose_bench
	if [ -z "$$DISPLAY" ]; then xvfb-run -a -s "-screen 0 1280x1024x24" $(BENCH_BUILD)/bench/browser_memory_bench; \
	else $(BENCH_BUILD)/bench/browser_memory_bench; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD)
