# Entry point for everything: make deps | build | test | demo | gui | screenshot | bench | package |
# format
BUILD ?= build
JOBS ?= 2
DEMO_DIR ?= $(BUILD)/demo
DEMO_ROWS ?= 300

# What building and running conversor needs (make demo, make gui): the compiler and build tools,
# Qt, the Firebird client and embedded engine with isql-fb (the demo counts rows with it), the
# workbook libraries, CLI11, a font for the window and Qt's Portuguese dialog texts.
PACKAGES = cmake g++ make ninja-build pkg-config qt6-base-dev firebird-dev libfbclient2 \
           firebird3.0-server-core firebird3.0-utils libzip-dev libexpat1-dev libxlsxwriter-dev \
           fonts-dejavu-core qt6-translations-l10n libcli11-dev
# What only the tests need on top: GoogleTest, and libgsf to write compound files for the xls
# reader's tests.
TEST_PACKAGES = libgtest-dev libgsf-1-dev
SCREENSHOT_PACKAGES = xvfb xauth x11-utils imagemagick
FORMAT_PACKAGES = clang-format
# The server that scripts/servidor-firebird.sh runs for the tests through host:/path; ss (iproute2)
# tells where it listens.
SERVER_PACKAGES = firebird3.0-server iproute2

# Fuzzing: `make fuzz [FUZZ_SECONDS=60]` builds the fuzz targets with clang++ (libFuzzer, ASan,
# UBSan) in their own folder and runs each for that long; `make test` runs each once over its
# starting inputs (the CTest case fuzz_sementes).
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev
TEST_PACKAGES += $(FUZZ_PACKAGES)
FUZZ_BUILD ?= $(BUILD)-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps deps-teste deps-screenshot deps-servidor install-packages build build-conversor test \
        demo gui screenshot bench package format clean fuzz

# Installs only what is missing; apt-get update runs only when something must be installed.
deps:
	@$(MAKE) --no-print-directory install-packages LIST="$(PACKAGES)"

deps-teste: deps
	@$(MAKE) --no-print-directory install-packages LIST="$(TEST_PACKAGES)"

deps-screenshot: deps
	@$(MAKE) --no-print-directory install-packages LIST="$(SCREENSHOT_PACKAGES)"

deps-servidor: deps
	@$(MAKE) --no-print-directory install-packages LIST="$(SERVER_PACKAGES)"

install-packages:
	@missing=""; for p in $(LIST); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  if [ -n "$$SUDO" ] && ! command -v sudo >/dev/null; then \
	    echo "Faltam pacotes e não há sudo: rode como root, ou instale-os:$$missing" >&2; exit 1; \
	  fi; \
	  $$SUDO apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Only the program: the demo and the window need nothing else.
build-conversor: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target conversor

# Configured again: a build folder made by make demo, before the test packages were there, has
# no tests. ctest shows a skipped test's output only with -V; the reasons are printed after it.
test: deps-teste
	cmake -S . -B $(BUILD) -G Ninja
	$(MAKE) build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS); codigo=$$?; \
	  ./scripts/motivos-pulados.sh $(BUILD); exit $$codigo

demo: deps
	$(MAKE) build-conversor
	./scripts/demo.sh $(BUILD)/conversor $(DEMO_DIR) $(DEMO_ROWS)

gui: deps
	$(MAKE) build-conversor
	@test -d $(DEMO_DIR) || $(BUILD)/conversor sample $(DEMO_DIR) --rows $(DEMO_ROWS)
	$(BUILD)/conversor

screenshot: deps-screenshot
	$(MAKE) build
	./scripts/screenshot.sh $(BUILD)/conversor $(BUILD)

bench: deps
	$(MAKE) build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./scripts/bench.sh $(BUILD)

# conversor_VERSION_amd64.deb in $(BUILD), made by CPack.
package: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target conversor arquivos_do_pacote
	cd $(BUILD) && cpack -G DEB

fuzz: deps-teste
	JOBS=$(JOBS) ./fuzz/roda.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	@$(MAKE) --no-print-directory install-packages LIST="$(FORMAT_PACKAGES)"
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
