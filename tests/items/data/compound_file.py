# A minimal reader of compound files for extract_outlook_blobs.py.
"""A minimal reader of compound files ([MS-CFB]): streams by path, enough for .msg files."""
import struct

FREE, END = 0xFFFFFFFF, 0xFFFFFFFE

class CompoundFile:
    def __init__(self, path):
        with open(path, 'rb') as f:
            self.data = f.read()
        h = self.data[:512]
        self.sector_size = 1 << struct.unpack_from('<H', h, 30)[0]
        self.mini_size = 1 << struct.unpack_from('<H', h, 32)[0]
        n_fat, first_dir, _, self.mini_cutoff, first_minifat, n_minifat, first_difat, n_difat = \
            struct.unpack_from('<IIIIIIII', h, 44)
        difat = list(struct.unpack_from('<109I', h, 76))
        sector = first_difat
        for _ in range(n_difat):
            words = struct.unpack_from('<%dI' % (self.sector_size // 4), self.sector(sector))
            difat.extend(words[:-1])
            sector = words[-1]
        self.fat = []
        for s in difat[:n_fat]:
            self.fat.extend(struct.unpack_from('<%dI' % (self.sector_size // 4), self.sector(s)))
        self.minifat = []
        if n_minifat:
            raw = self.chain(first_minifat)
            self.minifat = list(struct.unpack_from('<%dI' % (len(raw) // 4), raw))
        raw = self.chain(first_dir)
        self.entries = [self.entry(raw[i:i + 128]) for i in range(0, len(raw), 128)]
        root = self.entries[0]
        self.mini_stream = self.chain(root['start'])[:root['size']]

    def sector(self, n):
        off = (n + 1) * self.sector_size
        return self.data[off:off + self.sector_size]

    def chain(self, start):
        out, s, seen = bytearray(), start, set()
        while s not in (FREE, END) and s not in seen and s < len(self.fat):
            seen.add(s)
            out += self.sector(s)
            s = self.fat[s]
        return bytes(out)

    def mini_chain(self, start, size):
        out, s = bytearray(), start
        while s not in (FREE, END) and len(out) < size:
            out += self.mini_stream[s * self.mini_size:(s + 1) * self.mini_size]
            s = self.minifat[s]
        return bytes(out[:size])

    @staticmethod
    def entry(raw):
        name_len = struct.unpack_from('<H', raw, 64)[0]
        name = raw[:max(0, name_len - 2)].decode('utf-16-le')
        kind = raw[66]
        left, right, child = struct.unpack_from('<III', raw, 68)
        start, size = struct.unpack_from('<IQ', raw, 116)
        return dict(name=name, kind=kind, left=left, right=right, child=child, start=start, size=size)

    def children(self, index):
        out, stack = [], [self.entries[index]['child']]
        while stack:
            i = stack.pop()
            if i == FREE or i >= len(self.entries):
                continue
            e = self.entries[i]
            out.append(i)
            stack += [e['left'], e['right']]
        return out

    def find(self, path):
        index = 0
        for name in path.split('/'):
            match = [i for i in self.children(index) if self.entries[i]['name'].upper() == name.upper()]
            if not match:
                return None
            index = match[0]
        return index

    def exists(self, path):
        return self.find(path) is not None

    def read(self, path):
        e = self.entries[self.find(path)]
        if e['size'] < self.mini_cutoff:
            return self.mini_chain(e['start'], e['size'])
        return self.chain(e['start'])[:e['size']]
