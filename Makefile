# Two entry points: `make run` builds and starts the program, `make test` builds and runs every test.
# Both install the Debian packages they need first.
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-asan bench package check-package clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake --preset debug

build: configure
	cmake --build --preset debug -j $(JOBS)

run: build
	./scripts/run.sh build/debug

test: build
	ctest --preset debug -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	for b in build/release/bench/bench_*; do "$$b"; done

# The .deb, build/package/qvprt_VERSION_ARCH.deb; check-package installs, tries and removes it.
package: deps
	cmake --preset package
	cmake --build --preset package -j $(JOBS)

check-package: deps
	./scripts/check-package.sh

clean:
	rm -rf build
