# Entry point for everything: make deps | build | test | demo | gui | screenshot | bench | format
BUILD ?= build
JOBS ?= 2
DEMO_DIR ?= $(BUILD)/demo
DEMO_ROWS ?= 300

PACKAGES = cmake g++ make ninja-build pkg-config qt6-base-dev libgtest-dev firebird-dev \
           libfbclient2 firebird3.0-server-core firebird3.0-utils libzip-dev libexpat1-dev \
           libgsf-1-dev libxlsxwriter-dev fonts-dejavu-core qt6-translations-l10n
SCREENSHOT_PACKAGES = xvfb xauth x11-utils imagemagick

# Fuzzing: `make fuzz [FUZZ_SECONDS=60]` builds the fuzz targets with clang++ (libFuzzer, ASan,
# UBSan) in their own folder and runs each for that long; `make test` runs each once over its
# starting inputs (the CTest case fuzz_sementes).
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev
PACKAGES += $(FUZZ_PACKAGES)
FUZZ_BUILD ?= $(BUILD)-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps deps-screenshot install-packages build test demo gui screenshot bench format clean
.PHONY: fuzz

# Installs only what is missing; apt-get update runs only when something must be installed.
deps:
	@$(MAKE) --no-print-directory install-packages LIST="$(PACKAGES)"

deps-screenshot: deps
	@$(MAKE) --no-print-directory install-packages LIST="$(SCREENSHOT_PACKAGES)"

install-packages:
	@missing=""; for p in $(LIST); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	$(MAKE) build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: deps
	$(MAKE) build
	./scripts/demo.sh $(BUILD)/conversor $(DEMO_DIR) $(DEMO_ROWS)

gui: deps
	$(MAKE) build
	@test -d $(DEMO_DIR) || $(BUILD)/conversor sample $(DEMO_DIR) --rows $(DEMO_ROWS)
	$(BUILD)/conversor

screenshot: deps-screenshot
	$(MAKE) build
	./scripts/screenshot.sh $(BUILD)/conversor $(BUILD)

bench: deps
	$(MAKE) build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./scripts/bench.sh $(BUILD)

fuzz: deps
	JOBS=$(JOBS) ./fuzz/roda.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
