# The two set-up commands of the README, and the benchmarks.
.PHONY: run test bench build clean

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

bench:
	bash scripts/bench.sh

build:
	bash scripts/deps.sh
	bash scripts/build.sh x86_64
	bash scripts/build.sh i686 -DYK_BUILD_TESTS=OFF

clean:
	rm -rf build
