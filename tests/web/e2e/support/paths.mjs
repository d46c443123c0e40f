import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../../..');
export const buildWeb = process.env.TRELVANO_BUILD_WEB ?? path.join(repo, 'build-web');
export const site = path.join(buildWeb, 'site');
export const singleFile = path.join(buildWeb, 'trelvano.html');
export const shots = path.join(buildWeb, 'shots');
