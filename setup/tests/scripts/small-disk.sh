#!/usr/bin/env bash
# Maps Wine drive S: of a build's prefix to a small tmpfs, so that the
# installer's tests can fill a disk; "stop" unmaps and unmounts it. Needs
# root; without it the disk tests find no S: and skip themselves.
#
#   small-disk.sh start|stop <session dir>
set -u
action=$1 dir=$2
mount_dir="$dir/small-disk"
link="$dir/prefix/dosdevices/s:"
case "$action" in
start)
    mkdir -p "$mount_dir" "$dir/prefix/dosdevices"
    mountpoint -q "$mount_dir" || mount -t tmpfs -o size=256k tmpfs "$mount_dir" 2>/dev/null || exit 0
    ln -sfn "$mount_dir" "$link"
    ;;
stop)
    rm -f "$link"
    mountpoint -q "$mount_dir" && umount "$mount_dir"
    rmdir "$mount_dir" 2>/dev/null
    ;;
esac
exit 0
