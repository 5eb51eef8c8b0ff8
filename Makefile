# The two commands that set everything up: `make run` and `make test`.

BUILD    ?= build
ASAN     ?= build-asan
GENERATOR = -G Ninja
JOBS     ?= $(shell nproc)

.PHONY: run test sanitize fuzz build deps configure clean

run: build
	@if [ -x $(BUILD)/app/tarnelix ] && [ -f $(BUILD)/show/teste5.3df ]; then \
		cd $(BUILD)/show && exec ../app/tarnelix; \
	else \
		echo "tarnelix: the show is not built yet"; \
	fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# ASan + UBSan build of everything, running the whole suite.
sanitize: deps
	cmake -S . -B $(ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTARNELIX_SANITIZE=ON \
		-DTARNELIX_BUILD_BENCHMARKS=OFF
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# libFuzzer on the archive reader (clang, ASan + UBSan) for FUZZ_SECONDS, seeded from the
# tests' archives. New finds collect in $(FUZZ)/corpus; a crash leaves its input in $(FUZZ).
# Leaks are checked once at exit rather than after every input, which would cost two thirds
# of the runs.
FUZZ         ?= build-fuzz
FUZZ_SECONDS ?= 60
RAR_SEEDS     = tests/data/rar
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTARNELIX_FUZZ=ON -DTARNELIX_BUILD_TESTS=OFF -DTARNELIX_BUILD_BENCHMARKS=OFF
	cmake --build $(FUZZ) -j $(JOBS) --target rar_archive_fuzz
	mkdir -p $(FUZZ)/corpus $(FUZZ)/tmp
	cd $(FUZZ) && TMPDIR=$(abspath $(FUZZ))/tmp ASAN_OPTIONS=detect_leaks=1 \
		timeout $$(( $(FUZZ_SECONDS) + 120 )) ./tools/rar-extract/rar_archive_fuzz \
		-max_total_time=$(FUZZ_SECONDS) -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
		-detect_leaks=0 -print_final_stats=1 \
		corpus $(CURDIR)/$(RAR_SEEDS)/v20 $(CURDIR)/$(RAR_SEEDS)/v29

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

deps:
	@scripts/install-deps

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
