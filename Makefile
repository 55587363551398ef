# Thin front door: every target installs what is missing first.
.PHONY: deps build run test bench fuzz windows clean

JOBS ?= $(shell nproc)

deps:
	@scripts/deps

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

run: build
	@scripts/run

test: deps
	@scripts/test

bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	@scripts/bench

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	@scripts/fuzz

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

clean:
	rm -rf build
