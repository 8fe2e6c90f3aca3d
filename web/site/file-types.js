// Made by the build from readout/file_types.txt (edit that): the file
// types Frametally reads.
export const FILE_TYPE_NAMES = ['NEF', 'JPEG', 'NRW', 'ARW', 'SR2', 'PEF', 'DNG', 'CR2', 'CR3', 'HEIF', 'RAF'];
export const FILE_EXTENSIONS = ['nef', 'jpg', 'jpeg', 'nrw', 'arw', 'sr2', 'pef', 'dng', 'cr2', 'cr3', 'heic', 'heif', 'hif', 'raf'];
// For a file input's accept attribute.
export const FILE_ACCEPT = '.nef,.jpg,.jpeg,.nrw,.arw,.sr2,.pef,.dng,.cr2,.cr3,.heic,.heif,.hif,.raf,image/x-nikon-nef,image/jpeg,image/x-nikon-nrw,image/x-sony-arw,image/x-sony-sr2,image/x-pentax-pef,image/x-adobe-dng,image/x-canon-cr2,image/x-canon-cr3,image/heif,image/heic,image/x-fuji-raf';
