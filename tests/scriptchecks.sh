# Sourced by the shell tests that count their failures and report each check: fail, pass,
# expect_equal, and finish, which ends the script with status 1 when any check failed.
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass()
{
    echo "PASS: $*"
}
# expect_equal WHAT EXPECTED ACTUAL
expect_equal()
{
    if [[ $2 == "$3" ]]; then pass "$1"; else fail "$1"$'\n'"  expected: $2"$'\n'"  actual:   $3"; fi
}
# finish WHAT: "all WHAT checks passed" and status 0, or the count of failed checks and 1.
finish()
{
    if ((failures > 0)); then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all $1 checks passed"
    exit 0
}
# expect_ends_on_sigterm WHAT LOG: sends SIGTERM to the program $app_pid, a child of this shell,
# and checks it ends within 10 s, by its own handler (0) or by the signal (143); shows LOG when
# it ends otherwise. Clears app_pid once the program has ended, so a clean-up trap can still
# kill one that did not.
expect_ends_on_sigterm()
{
    local status
    kill -TERM "$app_pid" 2>/dev/null
    for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then
        fail "$1 ends on SIGTERM"
        return
    fi
    wait "$app_pid"
    status=$?
    app_pid=
    if [[ $status -eq 0 || $status -eq 143 ]]; then
        pass "$1 ends on SIGTERM"
    else
        fail "$1 ends on SIGTERM (status $status)"
        cat "$2"
    fi
}
