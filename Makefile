# The project's entry points. `make demo` and `make test` set up everything
# they need on a fresh machine, Debian packages included.
JOBS ?= 2
BUILD := build
SANITIZE_BUILD := build-sanitize
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: deps demo test test-plain test-sanitize bench fuzz clean

deps:
	@scripts/ensure-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVORIN_BUILD_FUZZERS=OFF

demo: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target tavorin_cli
	$(BUILD)/tools/tavorin demo

test: test-plain test-sanitize

test-plain: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAVORIN_SANITIZE=ON \
	  -DTAVORIN_BUILD_BENCHMARKS=OFF -DTAVORIN_BUILD_FUZZERS=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) -j $(JOBS) --output-on-failure

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTAVORIN_BUILD_FUZZERS=OFF
	cmake --build $(BUILD) -j $(JOBS)
	for b in $(BUILD)/bench/*_bench; do $$b; done

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
	  -DTAVORIN_BUILD_TESTS=OFF -DTAVORIN_BUILD_BENCHMARKS=OFF -DTAVORIN_BUILD_TOOLS=ON \
	  -DTAVORIN_BUILD_FUZZERS=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	# Each target starts from its checked-in seeds (fuzz/corpus/<target>) and
	# keeps what it learns in the build folder.
	for f in $(FUZZ_BUILD)/fuzz/*_fuzz; do \
	  name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	    $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
