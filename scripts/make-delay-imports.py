#!/usr/bin/env python3
"""Writes the delay-load thunks of one DLL for the i686 build, as assembly:

  make-delay-imports.py NM IMPORT_LIBRARY DLL_NAME OUT.S

For every function the MinGW import library names, the output defines the
symbols a static import would (`_Name@N` and `__imp__Name@N`), so nothing of
the DLL reaches the executable's import table. The first call of a function
goes through the C runtime's __delayLoadHelper2, which loads the DLL then
(after start-up has limited where DLLs are looked for) and patches the slot.

The delay-import libraries dlltool makes for i386 (binutils 2.40) leave their
address slots pointing at nothing, hence this generator.
"""
import re
import subprocess
import sys


def main():
    nm, library, dll, out = sys.argv[1:5]
    listing = subprocess.run([nm, library], capture_output=True, text=True, check=True).stdout
    names = sorted(set(re.findall(r' I __imp__(\S+)', listing)))
    if not names:
        sys.exit('%s names no functions' % library)
    tag = re.sub(r'\W', '_', dll)
    s = ['\t.section .rdata,"dr"', '__qv_dll_%s:' % tag, '\t.asciz "%s"' % dll]
    for i, name in enumerate(names):
        # IMAGE_IMPORT_BY_NAME: a hint, then the exported (undecorated) name.
        s += ['\t.balign 2', '__qv_hint_%s_%d:' % (tag, i), '\t.word 0', '\t.asciz "%s"' % name.split('@')[0]]
    s += ['\t.data', '\t.balign 4', '__qv_module_%s:' % tag, '\t.long 0', '__qv_iat_%s:' % tag]
    for i, name in enumerate(names):
        s += ['\t.globl __imp__%s' % name, '__imp__%s:' % name, '\t.long __qv_load_%s_%d' % (tag, i)]
    s += ['\t.long 0', '__qv_int_%s:' % tag]
    s += ['\t.rva __qv_hint_%s_%d' % (tag, i) for i in range(len(names))]
    # ImgDelayDescr, its addresses as RVAs (attribute 1).
    s += ['\t.long 0', '\t.balign 4', '__qv_descriptor_%s:' % tag, '\t.long 1',
          '\t.rva __qv_dll_%s' % tag, '\t.rva __qv_module_%s' % tag, '\t.rva __qv_iat_%s' % tag,
          '\t.rva __qv_int_%s' % tag, '\t.long 0', '\t.long 0', '\t.long 0', '\t.text']
    for i, name in enumerate(names):
        s += ['\t.globl _%s' % name, '_%s:' % name, '\tjmp *__imp__%s' % name,
              '__qv_load_%s_%d:' % (tag, i), '\tmovl $__imp__%s, %%eax' % name, '\tjmp __qv_merge_%s' % tag]
    # The helper takes the descriptor and the slot and returns the function;
    # the caller's arguments stay on the stack for it, ecx and edx are kept.
    s += ['__qv_merge_%s:' % tag, '\tpushl %ecx', '\tpushl %edx', '\tpushl %eax',
          '\tpushl $__qv_descriptor_%s' % tag, '\tcall ___delayLoadHelper2@8', '\tpopl %edx', '\tpopl %ecx',
          '\tjmp *%eax', '']
    with open(out, 'w') as f:
        f.write('\n'.join(s))


if __name__ == '__main__':
    main()
