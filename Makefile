# The two commands that set everything up: `make run` and `make test`.

BUILD    ?= build
ASAN     ?= build-asan
GENERATOR = -G Ninja
JOBS     ?= $(shell nproc)

.PHONY: run test sanitize build deps configure clean

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
		ctest --output-on-failure -j $(JOBS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

deps:
	@scripts/install-deps

clean:
	rm -rf $(BUILD) $(ASAN)
