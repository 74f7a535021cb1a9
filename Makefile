# Tamil Kalvem: the set-up and everyday commands.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_BUILD_TYPE ?= RelWithDebInfo

.PHONY: deps configure build run test bench package fuzz clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/tamilkalvem ]; then \
		exec $(BUILD)/tamilkalvem; \
	else \
		echo "The word processor's window is not built yet; showing the converter's help instead."; \
		$(BUILD)/tamilkalvem-convert --help; \
	fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A Debian package of the installed program, in $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/tk-bench-*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; \
		echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

# Runs the RTF reader's fuzzer for FUZZ_SECONDS on the committed seeds with a
# dictionary of RTF control words, at inputs up to 64 KB from the start;
# undefined behaviour counts as a crash. New inputs it finds stay in
# build-fuzz/corpus, crashes in build-fuzz/crashes.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@tools/install-deps.sh tools/debian-packages.txt tools/fuzz-packages.txt
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DTK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target tk-fuzz-rtf
	@mkdir -p $(FUZZ_BUILD)/corpus $(FUZZ_BUILD)/crashes
	@QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		$(FUZZ_BUILD)/tk-fuzz-rtf -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -len_control=0 \
		-dict=fuzz/rtf.dict -timeout=10 -rss_limit_mb=4096 -artifact_prefix=$(FUZZ_BUILD)/crashes/ \
		$(FUZZ_BUILD)/corpus fuzz/corpus/rtf

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
