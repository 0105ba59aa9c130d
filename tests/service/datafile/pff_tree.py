# The folder tree of an Outlook data file as libpff's Python binding (python3-pypff) reads it: one line per
# folder, "<path>\t<number of items>". Folders below the file's IPM subtree are written "IPM/<names>", the others
# "ROOT/<names>" (the IPM subtree itself is "IPM"), so that the lines compare with a store made from the file.
import struct
import sys

import pypff


def ipm_subtree_node(data_file):
    store = data_file.get_message_store()
    if store is not None:
        for s in range(store.number_of_record_sets):
            record_set = store.get_record_set(s)
            for e in range(record_set.number_of_entries):
                entry = record_set.get_entry(e)
                if entry.entry_type == 0x35E0 and entry.data and len(entry.data) == 24:
                    return struct.unpack("<I", entry.data[20:24])[0]
    return None


def walk(folder, path, ipm, out, parent_name):
    for i in range(folder.number_of_sub_folders):
        sub = folder.get_sub_folder(i)
        name = sub.name or ""
        is_ipm = sub.identifier == ipm if ipm is not None else (parent_name == "Root - Mailbox" and name == "IPM_SUBTREE")
        sub_path = "IPM" if is_ipm else path + "/" + name
        out.append("%s\t%d" % (sub_path, sub.number_of_sub_messages))
        walk(sub, sub_path, ipm, out, name)


def main():
    data_file = pypff.file()
    if len(sys.argv) > 2:
        data_file.set_ascii_codepage(sys.argv[2])
    data_file.open(sys.argv[1])
    root = data_file.get_root_folder()
    out = ["ROOT\t%d" % root.number_of_sub_messages]
    walk(root, "ROOT", ipm_subtree_node(data_file), out, None)
    sys.stdout.write("\n".join(sorted(out)) + "\n")


main()
