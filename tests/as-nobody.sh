#!/usr/bin/env bash
# Runs a test as the user nobody, for the permission checks that root skips. Without root
# the test cannot change user: it is skipped (exit code 77).
[ "$(id -u)" -eq 0 ] || exit 77
exec setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
