/* The launcher's layout, for both architectures: as few file-aligned blocks as the loader and
   the tools need. Code and read-only data share one read-only section; the launch directory
   field keeps a section of its own, .rdata; the import table, the resources and the base relocations
   keep theirs, where the loader and every PE reader look for them. No constructor lists, and
   no unwind tables but x64's exception table: the launcher has no C runtime. */
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + (__section_alignment__ < 0x1000 ? . : __section_alignment__) :
  {
    *(.text) *(SORT(.text$*)) *(.text.*)
    *(.rdata) *(SORT(.rdata$*))
    /* x64: the exception table and the unwind information it names, read-only like the code;
       cmake/launcher_profile.py points the exception directory at the table. */
    . = ALIGN(4);
    __launcher_pdata_start = .;
    KEEP (*(.pdata*))
    __launcher_pdata_end = .;
    *(.xdata*)
  }
  /* The launch directory field alone, under the name ordinary programs give read-only data. */
  .rdata BLOCK(__section_alignment__) : { KEEP (*(.launch)) }
  /* The loader writes the import addresses, so this section stays writable; the order of its
     parts is the import table's own. */
  .idata BLOCK(__section_alignment__) :
  {
    KEEP (SORT(*)(.idata$2))
    KEEP (SORT(*)(.idata$3))
    LONG (0); LONG (0); LONG (0); LONG (0); LONG (0);
    . = ALIGN(8);
    KEEP (SORT(*)(.idata$4))
    __IAT_start__ = .;
    KEEP (SORT(*)(.idata$5))
    __IAT_end__ = .;
    KEEP (SORT(*)(.idata$6))
    KEEP (SORT(*)(.idata$7))
  }
  /* Takes no room in the file. */
  .bss BLOCK(__section_alignment__) : { *(.bss) *(COMMON) }
  .rsrc BLOCK(__section_alignment__) : SUBALIGN(4) { KEEP (*(.rsrc)) KEEP (*(.rsrc$*)) }
  .reloc BLOCK(__section_alignment__) : { *(.reloc) }
  /DISCARD/ :
  {
    *(.debug$S) *(.debug$T) *(.debug$F) *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
    *(.eh_frame*)
  }
}
