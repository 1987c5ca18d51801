# make test   installs what is missing, builds native, win64 and win32, runs every test
# make build  the same without the tests; dist/linux/mksetup comes from the
#             optimised bench build, without the sanitizers of the native one
# make demo   builds everything and shows the programs at work under Wine
# make bench  speed against the tools a user would otherwise pick; the 32-bit sizes
# make fuzz   every fuzz target in turn, FUZZ_S seconds each (tools/fuzz.sh)
# B=dir       build folder (default build); each build lives in B/<target>
B ?= build
JOBS ?= $(shell nproc)
export KW_DISPLAY ?= :77

.PHONY: all deps configure build test demo bench fuzz clean
all: build

deps:
	@tools/deps.sh

configure: deps
	@[ -f $(B)/native/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(B)/native -G Ninja -DKW_TARGET=native >/dev/null
	@[ -f $(B)/win64/build.ninja ] || cmake -S . -B $(B)/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/win64.cmake >/dev/null
	@[ -f $(B)/win32/build.ninja ] || cmake -S . -B $(B)/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/win32.cmake >/dev/null
	@[ -f $(B)/bench/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(B)/bench -G Ninja -DKW_TARGET=bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@printf 'subdirs("native")\nsubdirs("win64")\nsubdirs("win32")\n' > $(B)/CTestTestfile.cmake

build: configure
	cmake --build $(B)/win32 -j $(JOBS)
	cmake --build $(B)/win64 -j $(JOBS)
	cmake --build $(B)/native -j $(JOBS)
	cmake --build $(B)/bench -j $(JOBS) --target mksetup

test: build
	@cd $(B) && { ctest -j 2 --output-on-failure --timeout 900; rc=$$?; \
	  for p in win64 win32; do WINEPREFIX=$(CURDIR)/$(B)/$$p/wineprefix /usr/lib/wine/wineserver -k >/dev/null 2>&1; done; exit $$rc; }

demo: build
	@tools/demo.sh $(B)

bench: configure
	cmake --build $(B)/bench -j $(JOBS)
	cmake --build $(B)/win64 -j $(JOBS)
	cmake --build $(B)/win32 -j $(JOBS)
	@for s in bench/*.sh; do [ -x "$$s" ] && "$$s" $(B) || true; done

fuzz: configure
	cmake --build $(B)/native -j $(JOBS) --target fuzz_targets
	@FUZZ_S=$(or $(FUZZ_S),600) tools/fuzz.sh $(B)

clean:
	rm -rf $(B) dist
