# Sourced by script tests: sets the array `isolate` to the command prefix that runs a program in a
# private network namespace (as root, or through a user namespace); returns 1 when neither works here.
choose_net_isolation() {
    if [[ $(id -u) -eq 0 ]]; then
        isolate=(unshare --net)
    elif unshare --user --map-root-user --net true 2>/dev/null; then
        isolate=(unshare --user --map-root-user --net)
    else
        return 1
    fi
}
