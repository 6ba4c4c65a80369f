# Orvalis: the two commands of the README, and the rest of the developer's day.
#   make run     installs what is missing, builds, plays the demo clip with its captions
#   make test    installs what is missing, builds with sanitizers, runs every test
#   make build   the program at build/orvalis
#   make bench   the benchmarks, one "bench <name> <value> <unit>" line per figure
#   make fuzz    the fuzz targets, FUZZ_SECONDS each (default 30)
#   make soak    the sanitizer build, then the optimised one, play SOAK_CLIPS clips (default
#                200) in a row: sanitizer reports, memory and descriptors (about 12 minutes)
#   make install   the program, desktop entry, icon, metainfo and man page under PREFIX
#                  (default /usr/local; DESTDIR honoured); make uninstall removes them

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 30
DEMO ?= media/demo.mp4
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
# What make install puts under PREFIX (packaging/CMakeLists.txt), for make uninstall.
INSTALLED = bin/orvalis share/applications/orvalis.desktop \
	share/icons/hicolor/scalable/apps/orvalis.svg \
	share/metainfo/com.corvane.orvalis.metainfo.xml share/man/man1/orvalis.1 \
	share/doc/orvalis/README.md

.PHONY: all deps build run test bench fuzz soak clean install uninstall

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALIS_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build -j $(JOBS) --target orvalis

run: build
	@./scripts/run-demo.sh build/orvalis $(DEMO)

test: deps
	@cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVALIS_SANITIZE=ON -DORVALIS_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-test -j $(JOBS)
	@./scripts/run-tests.sh build-test $(JOBS)

bench: deps
	@./scripts/install-deps.sh bench
	@cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALIS_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build -j $(JOBS)
	@./scripts/run-bench.sh build

fuzz: deps
	@./scripts/install-deps.sh fuzz
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DORVALIS_FUZZ=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@./scripts/run-fuzz.sh build-fuzz $(FUZZ_SECONDS)

soak: build
	@./scripts/install-deps.sh soak
	@cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVALIS_SANITIZE=ON -DORVALIS_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-test -j $(JOBS) --target orvalis
	@./scripts/soak.sh build-test/orvalis
	@./scripts/soak.sh build/orvalis

install: build
	@cmake --build build -j $(JOBS) --target orvalis-desktop-entry
	@DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"
	@if [ -z "$(DESTDIR)" ]; then ./scripts/desktop-caches.sh "$(PREFIX)"; fi

uninstall:
	@for f in $(INSTALLED); do \
		if [ -e "$(DESTDIR)$(PREFIX)/$$f" ]; then echo "Removing: $(DESTDIR)$(PREFIX)/$$f"; \
			rm -f "$(DESTDIR)$(PREFIX)/$$f"; fi; \
	done
	@if [ -z "$(DESTDIR)" ]; then ./scripts/desktop-caches.sh "$(PREFIX)"; fi

clean:
	rm -rf build build-test build-fuzz
