# The commands a person types. Each installs what is missing first.
BUILD := build
ASAN_BUILD := build-asan
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
SOURCES = $(shell git ls-files '*.cpp' '*.h')

PREFIX = /usr/local

.PHONY: all deps build run test bench asan format clean install uninstall

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

# The windowed program on the bundled sample; without a display (it then
# says so and exits with status 2) the console's test of the same file.
run: build
	@$(BUILD)/pindle samples/bouncing-ball.gif; status=$$?; \
	if [ $$status -eq 2 ]; then \
		echo "make run: no display, so the console tests the sample instead:"; \
		$(BUILD)/pindle --test samples/bouncing-ball.gif; \
	else exit $$status; fi

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j 2

bench: build
	$(BUILD)/bench/pindle_bench
	scripts/bench-corpus $(BUILD)/pindle

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DPINDLE_SANITIZE=ON

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j 2

format:
	clang-format -i $(SOURCES)

# The program, its desktop entry and its icons under PREFIX; DESTDIR, when
# given, is put in front of every path (for packaging).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Takes away exactly what the last install put in place (give the same
# DESTDIR).
uninstall:
	DESTDIR="$(DESTDIR)" cmake -DBUILD_DIR=$(BUILD) -P resources/desktop/uninstall.cmake

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
