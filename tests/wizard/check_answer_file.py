#!/usr/bin/python3
"""Reads a Windows 7 answer file the wizard wrote with an XML parser that shares no code with it.

check_answer_file.py AUTOUNATTEND_XML PASSWORD
Checks: the file parses; in every settings pass each component appears once for "x86" and once for "amd64"
(the x86 one first) with the same contents; the local account's and the automatic log-on's passwords are
hidden the way set-up reads them (base64 of UTF-16LE text, PlainText false) and decode to PASSWORD followed by
the word "Password".
"""
import base64
import binascii
import sys
import xml.etree.ElementTree as ET

NS = '{urn:schemas-microsoft-com:unattend}'
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def contents(component):
    return [ET.tostring(child) for child in component]


def check_password(holder, where, password):
    element = holder.find(NS + 'Password') if holder is not None else None
    if element is None:
        failures.append('no Password under ' + where)
        return
    check((element.findtext(NS + 'PlainText') or '').strip() == 'false', where + ': PlainText is not false')
    value = (element.findtext(NS + 'Value') or '').strip()
    try:
        text = base64.b64decode(value, validate=True).decode('utf-16-le')
    except (binascii.Error, UnicodeDecodeError) as error:
        failures.append('%s: password %r does not decode: %s' % (where, value, error))
        return
    check(text == password + 'Password', '%s: password decodes to %r' % (where, text))


def main():
    path, password = sys.argv[1:3]
    root = ET.parse(path).getroot()
    check(root.tag == NS + 'unattend', 'root element %s' % root.tag)
    passes = root.findall(NS + 'settings')
    check([p.get('pass') for p in passes] == ['windowsPE', 'specialize', 'oobeSystem'], 'settings passes')
    components = 0
    for settings in passes:
        names = []
        by_name = {}
        for component in settings.findall(NS + 'component'):
            components += 1
            name = component.get('name')
            if name not in by_name:
                names.append(name)
            by_name.setdefault(name, []).append(component)
        for name in names:
            found = by_name[name]
            where = '%s/%s' % (settings.get('pass'), name)
            check([c.get('processorArchitecture') for c in found] == ['x86', 'amd64'],
                  where + ': architectures %r' % [c.get('processorArchitecture') for c in found])
            if len(found) == 2:
                check(contents(found[0]) == contents(found[1]), where + ': x86 and amd64 contents differ')
                attributes = [dict(c.attrib) for c in found]
                for a in attributes:
                    a.pop('processorArchitecture', None)
                check(attributes[0] == attributes[1], where + ': attributes differ')
            if settings.get('pass') == 'oobeSystem' and name == 'Microsoft-Windows-Shell-Setup':
                for component in found:
                    arch = component.get('processorArchitecture')
                    account = component.find('%sUserAccounts/%sLocalAccounts/%sLocalAccount' % (NS, NS, NS))
                    check_password(account, where + '(' + arch + ') LocalAccount', password)
                    check_password(component.find(NS + 'AutoLogon'), where + '(' + arch + ') AutoLogon', password)
    check(components == 10, '%d components, expected 10' % components)
    for failure in failures:
        print('FAILED: ' + failure)
    if not failures:
        print('ANSWER-FILE-CHECK-PASSED %s' % path)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
