# The commands of the README. Each installs what is missing and builds, then
# starts the product (run), runs every test (test) or installs the product for
# the current user (install); uninstall removes that installation.
.PHONY: run test install uninstall

run:
	scripts/install-deps
	scripts/build
	scripts/run

test:
	scripts/install-deps
	scripts/build
	scripts/test

install:
	scripts/install-deps
	scripts/build
	scripts/install

uninstall:
	scripts/uninstall
