# The two commands of the README. Each installs what is missing, builds, then
# starts the product (run) or runs every test (test).
.PHONY: run test

run:
	scripts/install-deps
	scripts/build
	scripts/run

test:
	scripts/install-deps
	scripts/build
	scripts/test
