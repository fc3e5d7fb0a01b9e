# Thin driver around CMake. The two commands a newcomer needs: `make demo` and `make test`
# (README.md gives the quicker targets and their times).
JOBS ?= 2
FUZZ_SECONDS ?= 20
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=MinSizeRel

.PHONY: all setup build release demo demo-kestrun test native test-native test-windows screenshots bench clean

all: build

setup:
	@scripts/setup.sh

build/x64/Makefile:
	cmake -S . -B build/x64 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake >/dev/null
build/x86/Makefile:
	cmake -S . -B build/x86 $(CMAKE_FLAGS) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake >/dev/null
build/native/Makefile:
	CC=clang CXX=clang++ cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DFUZZ_SECONDS=$(FUZZ_SECONDS) \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -g" >/dev/null

build: setup build/x64/Makefile build/x86/Makefile
	cmake --build build/x64 --target Kestrun Ternavo -j $(JOBS)
	cmake --build build/x86 --target Kestrun Ternavo -j $(JOBS)
	@mkdir -p dist/x64 dist/x86
	cp build/x64/bin/Kestrun.exe build/x64/bin/Ternavo.exe dist/x64/
	cp build/x86/bin/Kestrun.exe build/x86/bin/Ternavo.exe dist/x86/

# The download: dist/release/Ternavo-<version>.zip and SHA256SUMS, built in its own trees
# (build/release-x64, build/release-x86). Signed when SIGN_PFX (PKCS#12) and SIGN_PASS_FILE
# (a file holding its password) are given; SIGN_TIMESTAMP_URL adds an RFC 3161 time stamp.
release: setup
	@JOBS=$(JOBS) SIGN_PFX='$(SIGN_PFX)' SIGN_PASS_FILE='$(SIGN_PASS_FILE)' \
	  SIGN_TIMESTAMP_URL='$(SIGN_TIMESTAMP_URL)' scripts/release.sh

native: setup build/native/Makefile
	cmake --build build/native -j $(JOBS)

test-native: native
	cd build/native && ctest --output-on-failure -j $(JOBS)

# The Windows suite runs twice: the x64 build under 64-bit Wine, the x86 build as 32-bit
# programs in a 64-bit prefix (its tests carry "x86" in their names; CTest reports them
# as skipped, with the reason, on a kernel that cannot run 32-bit programs).
test-windows: build
	cmake --build build/x64 -j $(JOBS)
	cmake --build build/x86 -j $(JOBS)
	cd build/x64 && ctest --output-on-failure -j $(JOBS)
	@cmake/wine-run.sh --x86-note
	cd build/x86 && ctest --output-on-failure -j $(JOBS)

# The benchmarks' programs are built too (not run), so that `make bench` cannot break unseen.
test: build native
	cmake --build build/x64 -j $(JOBS)
	cmake --build build/x64 --target bench_programs -j $(JOBS)
	cmake --build build/x86 -j $(JOBS)
	cmake --build build/x86 --target bench_programs -j $(JOBS)
	cd build/native && ctest --output-on-failure -j $(JOBS)
	cd build/x64 && ctest --output-on-failure -j $(JOBS)
	@cmake/wine-run.sh --x86-note
	cd build/x86 && ctest --output-on-failure -j $(JOBS)

# The demo builds only what it runs (the x64 programs and the stand-in ICQ 7, in build/x64)
# and writes the build's output to a log file it names.
demo: setup
	@JOBS=$(JOBS) scripts/demo.sh

# Kestrun in the demo's ICQ 7 folder, as Ternavo's installation leaves it.
demo-kestrun: setup
	@JOBS=$(JOBS) scripts/demo.sh kestrun

screenshots: build
	scripts/screenshots.sh

bench: build
	scripts/bench.sh

clean:
	rm -rf build dist
