# Velmora: the two commands a new machine needs are `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CORPUS ?= $(abspath ../shared/corpus)
BENCH_DIR ?= $(CORPUS)
VELMORA_WINDOWS_GUI ?= auto

.PHONY: deps run test tsan bench fuzz release clean format screenshots deps-windows test-windows \
	windows package test-package

deps:
	@bash scripts/install-deps.sh

build/release/build.ninja: | deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release

release: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)

run: release
	bash scripts/run.sh build/release

build/asan/build.ninja: | deps
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON

test: deps build/asan/build.ninja
	cmake --build build/asan -j $(JOBS)
	cd build/asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory tsan

# The scan's worker threads (also with the stored catalogue, in the tests that make no
# child process) and the player's audio thread under ThreadSanitizer: a small GUI-free
# build of their tests, cheap enough to run with every `make test`.
build/tsan/build.ninja: | deps
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_GUI=OFF -DVELMORA_TSAN=ON

tsan: deps build/tsan/build.ninja
	cmake --build build/tsan -j $(JOBS) --target test_catalogue test_player test_archivio
	cd build/tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS) \
	  -R '^(Scansione|ScansioneParallela|ListaFile|ListaCartelle|Riproduzione|OrologioDiSistema)\.|^MemoriaArchivio\.(TheCatalogue|AnUnchanged|AFileChanged|ADatabaseThat)'

deps-windows:
	@bash scripts/install-deps.sh windows

# The Windows build, cross-compiled with mingw-w64 and tested under Wine: core and
# CLI, and the GUI too whenever scripts/build-qt-windows.sh has built its Qt
# (VELMORA_WINDOWS_GUI=auto; ON insists on it, OFF leaves the GUI out); with the GUI,
# the installer too, installed and uninstalled under Wine.
test-windows: deps-windows
	JOBS=$(JOBS) VELMORA_WINDOWS_GUI=$(VELMORA_WINDOWS_GUI) bash scripts/test-windows.sh build/windows

# The Windows release in dist/windows/: the installer Velmora-<version>-setup.exe,
# Velmora-<version>-windows.zip and the two executables, building Qt for Windows first
# when it is not there yet.
windows: deps-windows
	JOBS=$(JOBS) bash scripts/build-qt-windows.sh
	VELMORA_WINDOWS_GUI=ON VELMORA_SOLO_COMPILA=1 JOBS=$(JOBS) bash scripts/test-windows.sh build/windows
	cmake --build build/windows-gui --target pacchetti_windows
	mkdir -p dist/windows
	cp build/windows-gui/pacchetti/Velmora-*-setup.exe build/windows-gui/pacchetti/Velmora-*-windows.zip \
	  build/windows-gui/pacchetti/Velmora/velmora.exe build/windows-gui/pacchetti/Velmora/velmora-cli.exe \
	  dist/windows/
	@ls -l dist/windows

# The Debian package in dist/linux/, made by CPack from a release build of the two
# programs; test-package installs it with apt, runs it and removes it again.
build/package/build.ninja: | deps
	cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON

package: deps build/package/build.ninja
	cmake --build build/package -j $(JOBS) --target velmora velmora-cli
	cd build/package && cpack -G DEB -B "$(CURDIR)/dist/linux"
	rm -rf dist/linux/_CPack_Packages
	@ls -l dist/linux

test-package: package
	bash scripts/test-package.sh build/package dist/linux

bench: release
	bash scripts/bench.sh build/release "$(BENCH_DIR)"

build/fuzz/build.ninja: | deps
	CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_GUI=OFF -DVELMORA_FUZZ=ON

fuzz: deps build/fuzz/build.ninja
	cmake --build build/fuzz -j $(JOBS) --target fuzz_midi fuzz_archivio
	bash scripts/fuzz.sh build/fuzz "$(CORPUS)" $(FUZZ_SECONDS)

screenshots: release
	bash scripts/screenshots.sh build/release

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
