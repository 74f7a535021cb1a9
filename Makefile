# Tamil Kalvem: the set-up and everyday commands.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_BUILD_TYPE ?= RelWithDebInfo

.PHONY: deps configure build run test bench fuzz clean

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

bench: build
	@cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	@for b in $(BUILD)/bench/tk-bench-*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; \
		echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

clean:
	rm -rf $(BUILD)
