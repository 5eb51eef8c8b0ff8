# The two commands that set everything up: `make run` and `make test`.

BUILD    ?= build
ASAN     ?= build-asan
GENERATOR = -G Ninja
JOBS     ?= $(shell nproc)

.PHONY: run test sanitize fuzz build deps configure clean windows windows-check parity

run: build
	@if [ -x $(BUILD)/app/tarnelix ] && [ -f $(BUILD)/show/teste5.3df ]; then \
		cd $(BUILD)/show && exec ../app/tarnelix; \
	else \
		echo "tarnelix: the show is not built yet"; \
	fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# ASan + UBSan build of everything, running the whole suite with the GL check on. GCC 12's
# runtime records the dynamic TLS blocks it sees through __tls_get_addr, and with Debian 12's
# glibc it may record a bogus one (seen: "Scanning DTLS range 0x19a8-0x1800002aaa"), on which
# the leak checker then crashes at exit, depending on timing: it is told not to watch those
# calls. Dynamic TLS belongs to the libraries the GL driver loads; no leak report came from
# leaving it unscanned.
# The run also compares stills of the show drawn by Mesa's softpipe with llvmpipe's
# (TARNELIX_SOFTPIPE_STILLS: half a minute of software drawing, which make test leaves out).
sanitize: deps
	cmake -S . -B $(ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTARNELIX_SANITIZE=ON \
		-DTARNELIX_BUILD_BENCHMARKS=OFF -DTARNELIX_SOFTPIPE_STILLS=ON
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && TARNELIX_GL_CHECK=1 ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 \
		UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# libFuzzer (clang, ASan + UBSan) on every reader of untrusted bytes, FUZZ_SECONDS each: the
# archive reader, the 3DF loader, the texture decoders, the HLSL compiler, scene-import's
# own glTF reader and the show file reader. Seeds come from the tests' data, the shader sources
# and fuzz-seeds (small scenes and images it writes). New finds collect in $(FUZZ)/corpus (the archive reader's) and
# $(FUZZ)/corpus-*; a crash stops the run with its input saved as $(FUZZ)/crash-*. Leaks are
# checked once at exit rather than after every input, which would cost two thirds of the runs.
# Each target's -timeout is what its slowest legitimate input needs under the sanitizers, with
# room for a busy machine: 8 KB of texture can still be a picture of 8192 x 8192 texels (a PNG
# of one bit per texel) that is decoded and scaled down to the test device's largest texture.
FUZZ         ?= build-fuzz
FUZZ_SECONDS ?= 30
RAR_SEEDS     = tests/data/rar
FUZZ_SEEDS    = $(abspath $(FUZZ))/seeds
FUZZ_KEPT     = $(CURDIR)/tests/data/fuzz
FUZZ_RUN      = TMPDIR=$(abspath $(FUZZ))/tmp ASAN_OPTIONS=detect_leaks=1 \
	timeout $$(( $(FUZZ_SECONDS) + 120 ))
FUZZ_OPTIONS  = -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -detect_leaks=0 \
	-print_final_stats=1
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTARNELIX_FUZZ=ON -DTARNELIX_SANITIZE=ON -DTARNELIX_BUILD_BENCHMARKS=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target rar_archive_fuzz scene_load_fuzz \
		texture_decode_fuzz hlsl_compile_fuzz gltf_extras_fuzz show_file_fuzz fuzz-seeds
	mkdir -p $(FUZZ)/corpus $(FUZZ)/corpus-scene $(FUZZ)/corpus-texture $(FUZZ)/corpus-hlsl \
		$(FUZZ)/corpus-gltf $(FUZZ)/corpus-show $(FUZZ)/tmp $(FUZZ_SEEDS)/hlsl
	$(FUZZ)/tests/fuzz-seeds $(FUZZ_SEEDS)
	cp data/*.vsh data/*.psh $(FUZZ_SEEDS)/hlsl
	cd $(FUZZ) && TMPDIR=$(abspath $(FUZZ))/tmp ASAN_OPTIONS=detect_leaks=1 \
		timeout $$(( $(FUZZ_SECONDS) + 120 )) ./tools/rar-extract/rar_archive_fuzz \
		-max_total_time=$(FUZZ_SECONDS) -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
		-detect_leaks=0 -print_final_stats=1 \
		corpus $(CURDIR)/$(RAR_SEEDS)/v20 $(CURDIR)/$(RAR_SEEDS)/v29 $(CURDIR)/$(RAR_SEEDS)/seeds
	cd $(FUZZ) && $(FUZZ_RUN) ./tests/scene_load_fuzz $(FUZZ_OPTIONS) -max_len=8192 \
		-timeout=10 corpus-scene $(FUZZ_SEEDS)/scene $(FUZZ_KEPT)/scene
	cd $(FUZZ) && $(FUZZ_RUN) ./tests/texture_decode_fuzz $(FUZZ_OPTIONS) -max_len=8192 \
		-timeout=30 corpus-texture $(FUZZ_SEEDS)/texture $(FUZZ_KEPT)/texture
	cd $(FUZZ) && $(FUZZ_RUN) ./tests/hlsl_compile_fuzz $(FUZZ_OPTIONS) -max_len=4096 \
		-timeout=30 corpus-hlsl $(FUZZ_SEEDS)/hlsl $(FUZZ_KEPT)/hlsl
	cd $(FUZZ) && $(FUZZ_RUN) ./tests/gltf_extras_fuzz $(FUZZ_OPTIONS) -max_len=4096 \
		-timeout=10 corpus-gltf $(FUZZ_KEPT)/gltf
	cd $(FUZZ) && $(FUZZ_RUN) ./tests/show_file_fuzz $(FUZZ_OPTIONS) -max_len=4096 \
		-timeout=10 corpus-show $(FUZZ_KEPT)/show

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

deps:
	@scripts/install-deps

# tarnelix.exe and tarnelix-capture.exe, cross-built with MinGW-w64 against the real Windows,
# Direct3D 9 and D3DX 9 headers; they play the show from the folder the Linux build generates
# (build/show). scripts/install-deps --windows installs the cross compiler.
WINDOWS ?= build-windows
windows:
	@scripts/install-deps --windows
	@[ -f $(WINDOWS)/build.ninja ] || cmake -S . -B $(WINDOWS) $(GENERATOR) \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WINDOWS) -j $(JOBS)

# The Windows-only code's own checks under Wine: the MP3 decoder and the FSOUND calls on the
# show's music. Wine plays into ALSA's null device, so that no sound card is needed.
WINE_HOME = $(abspath $(WINDOWS))/wine-home
WINE = HOME=$(WINE_HOME) WINEDEBUG=-all WINEPREFIX=$(abspath $(WINDOWS))/wine xvfb-run -a wine
windows-check: windows build
	@scripts/install-deps --wine
	mkdir -p $(WINE_HOME) && echo 'pcm.!default { type null }' > $(WINE_HOME)/.asoundrc
	$(WINE) $(WINDOWS)/tests/windows/mp3-decode-check.exe $(BUILD)/show/preview1.mp3

# Stills at 5, 22.5, 52.5, 100 and 135 s from both builds, the Windows one under Wine and Xvfb,
# compared per still (mean and largest channel difference, PSNR).
parity: build windows
	@scripts/install-deps --wine
	scripts/parity --linux $(BUILD) --windows $(WINDOWS)

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(WINDOWS)
