#!/usr/bin/env bash
# Configures a build folder with the given cmake arguments, and configures it again when a setting
# given as -DNAME=VALUE differs from what its cache holds, so that a build folder always follows
# the settings of the command that uses it (a library chosen for `make run`, say, or -Werror on
# a folder made before the option existed). Does nothing when all agree.
# Usage: configure.sh SOURCE_DIR BUILD_DIR CMAKE_ARGUMENTS...
set -euo pipefail

source_dir=${1:?usage: configure.sh SOURCE_DIR BUILD_DIR CMAKE_ARGUMENTS...}
build_dir=${2:?usage: configure.sh SOURCE_DIR BUILD_DIR CMAKE_ARGUMENTS...}
shift 2

cache=$build_dir/CMakeCache.txt
configure()
{
    exec cmake -S "$source_dir" -B "$build_dir" "$@"
}

[[ -f $build_dir/build.ninja && -f $cache ]] || configure "$@"
for argument in "$@"; do
    [[ $argument == -D* ]] || continue
    setting=${argument#-D}
    name=${setting%%=*}
    value=${setting#*=}
    name=${name%%:*}
    # The cache line is NAME:TYPE=VALUE; a setting the cache lacks counts as different.
    if ! cached=$(grep -m1 "^$name:[A-Z]*=" "$cache"); then
        configure "$@"
    fi
    [[ ${cached#*=} == "$value" ]] || configure "$@"
done
