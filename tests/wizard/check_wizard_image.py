#!/usr/bin/python3
"""Reads an image the wizard built with tools that share no code with it, and checks it against its sources.

check_wizard_image.py WORKSPACE IMAGE_NAME LABEL
  WORKSPACE holds dist/ (the distribution folder), output/IMAGE_NAME and program/ISO/<boot image>.
Checks: both name trees list every file of dist/ (top-level dot entries left out), each file reads back
byte-identical through Joliet, the ISO9660 names are plain d-characters without versions, the volume
descriptors carry the label and the two identifiers, the El Torito entry boots the boot image without
emulation, and a PC emulator started from the image prints the boot image's marker.
"""
import io
import os
import select
import shutil
import subprocess
import sys
import time

import pycdlib

MARKER = b"OSMIRA-BOOT-OK"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def source_files(dist):
    files, folders = {}, set()
    for top in sorted(os.listdir(dist)):
        if top.startswith('.'):
            continue
        path = os.path.join(dist, top)
        if os.path.isdir(path):
            folders.add('/' + top)
            for base, dirs, names in os.walk(path):
                rel = '/' + os.path.relpath(base, dist).replace(os.sep, '/')
                folders.add(rel)
                for name in names:
                    files[rel + '/' + name] = os.path.join(base, name)
        else:
            files['/' + top] = path
    return files, folders


def boot_prints_marker(qemu, image, timeout=15.0):
    """Boots the image in a PC emulator and watches its serial port: True as soon as the marker shows.

    The boot image halts for ever after printing, so the emulator is stopped on the marker; the timeout only
    bounds a boot that never prints it.
    """
    emulator = subprocess.Popen([qemu, '-display', 'none', '-no-reboot', '-m', '64', '-accel', 'tcg',
                                 '-cdrom', image, '-boot', 'd', '-serial', 'stdio', '-monitor', 'none'],
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    seen = b''
    deadline = time.monotonic() + timeout
    try:
        while MARKER not in seen:
            left = deadline - time.monotonic()
            if left <= 0:
                break
            ready, _, _ = select.select([emulator.stdout], [], [], left)
            if not ready:
                break
            chunk = os.read(emulator.stdout.fileno(), 4096)
            if not chunk:
                break  # the emulator ended
            seen += chunk
    finally:
        emulator.kill()
        emulator.wait()
        emulator.stdout.close()
    return MARKER in seen


def main():
    workspace, image_name, label = sys.argv[1:4]
    dist = os.path.join(workspace, 'dist')
    image = os.path.join(workspace, 'output', image_name)
    boot_name = 'xpboot.img' if image_name == 'xp.iso' else 'vistaboot.img'
    with open(os.path.join(workspace, 'program', 'ISO', boot_name), 'rb') as f:
        boot = f.read()

    iso = pycdlib.PyCdlib()
    iso.open(image)
    pvd = iso.pvd
    check(pvd.volume_identifier.decode().rstrip() == label, 'primary label %r' % pvd.volume_identifier)
    check(pvd.publisher_identifier.text.decode().rstrip() == 'Taleno Company', 'publisher')
    check(pvd.application_identifier.text.decode().rstrip() == 'Taleno Corvane', 'application')
    check(iso.has_joliet(), 'no Joliet volume')
    joliet_label = iso.joliet_vd.volume_identifier.decode('utf-16-be').rstrip()
    check(joliet_label == label, 'Joliet label %r' % joliet_label)

    files, folders = source_files(dist)
    seen_files, seen_folders = set(), set()
    for base, dirs, names in iso.walk(joliet_path='/'):
        for d in dirs:
            seen_folders.add((base.rstrip('/') + '/' + d))
        for name in names:
            path = base.rstrip('/') + '/' + name
            seen_files.add(path)
            data = io.BytesIO()
            iso.get_file_from_iso_fp(data, joliet_path=path)
            source = files.get(path)
            if source is None:
                failures.append('unexpected file in the image: ' + path)
                continue
            with open(source, 'rb') as f:
                check(data.getvalue() == f.read(), 'content differs: ' + path)
    check(seen_files == set(files), 'Joliet files differ: missing %s, extra %s'
          % (sorted(set(files) - seen_files), sorted(seen_files - set(files))))
    check(seen_folders == folders, 'Joliet folders differ: missing %s, extra %s'
          % (sorted(folders - seen_folders), sorted(seen_folders - folders)))

    allowed = set('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.')
    iso_count = 0
    for base, dirs, names in iso.walk(iso_path='/'):
        for name in dirs + names:
            iso_count += 1
            check(set(name) <= allowed and ';' not in name and not name.endswith('.'),
                  'ISO9660 name %r in %s' % (name, base))
    check(iso_count == len(files) + len(folders), 'ISO9660 tree holds %d entries, not %d'
          % (iso_count, len(files) + len(folders)))

    catalog = iso.eltorito_boot_catalog
    check(catalog is not None, 'no El Torito catalog')
    if catalog is not None:
        entry = catalog.initial_entry
        check(entry.boot_indicator == 0x88, 'entry not bootable')
        check(entry.boot_media_type == 0, 'emulation %d' % entry.boot_media_type)
        check(entry.sector_count == 4, 'sector count %d' % entry.sector_count)
        check(entry.load_segment in (0, 0x7C0), 'load segment %#x' % entry.load_segment)
        with open(image, 'rb') as f:
            f.seek(entry.load_rba * 2048)
            check(f.read(len(boot)) == boot, 'boot image differs')
    iso.close()

    info = subprocess.run(['isoinfo', '-d', '-i', image], capture_output=True, text=True).stdout
    check('Volume id: ' + label in info, 'isoinfo label:\n' + info)
    check('Eltorito' in info or 'El Torito' in info, 'isoinfo sees no El Torito:\n' + info)

    qemu = shutil.which('qemu-system-x86_64')
    if qemu is None:
        failures.append('qemu-system-x86_64 is not installed')
    else:
        check(boot_prints_marker(qemu, image), 'the emulator did not boot the image')

    if failures:
        for failure in failures:
            print('FAILED: ' + failure)
        return 1
    print('image %s checked: %d files, %d folders' % (image_name, len(files), len(folders)))
    print('IMAGE-CHECK-PASSED')
    return 0


if __name__ == '__main__':
    sys.exit(main())
