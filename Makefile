# Thin front door: every target installs what it is missing first (scripts/deps PURPOSE).
.PHONY: run test package bench fuzz windows clean

JOBS ?= $(shell nproc)

run:
	@scripts/deps run
	cmake --preset run >/dev/null
	cmake --build --preset run -j $(JOBS)
	@scripts/run

test:
	@scripts/deps test
	@scripts/test

# build/package/dorvane_<version>_<arch>.deb
package:
	@scripts/deps package
	cmake --preset package >/dev/null
	cmake --build --preset package -j $(JOBS)
	cpack --preset package

bench:
	@scripts/deps bench
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	@scripts/bench

fuzz:
	@scripts/deps fuzz
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	@scripts/fuzz

windows:
	@scripts/deps windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

clean:
	rm -rf build
